// app/fortune.cpp - the toy: the load scene, the fortune scene and its keys.
//
// The window shows one frame of the strip "FUURIN.bmp" enlarged ten times. A
// draw spins through the eleven faces, slowing by two frames per step, then
// flashes between the face it stopped on and the strip's flash frame, then
// holds the face and prints its fortune. Everything is counted in frames.
//
// DEPENDENCIES: ovDraw (object loading, clear, stretch, print, flip), ovSystem.

#include "app/fortune.h"

#include "draw/draw.h"
#include "draw/objects.h"
#include "draw/text/text.h"
#include "platform/window.h"
#include "system/system.h"

namespace ovApp {

int FortuneObject = 0;
int RandomOffset = 0;
int SpinCounter = 1;
int StepCounter = 0;
int Face = 0;

// The fortune of each face: the grade, then two lines of advice.
const FortuneText FortuneTable[11] = {
    {"\x8F\xAC\x8Bg",  // 0: 小吉
     "\x96\xB3\x97\x9D\x82\xCD\x8B\xD6\x95\xA8\x81" "B\x82\xC5\x82\xE0\x81" "A",  // 無理は禁物。でも、
     "\x88\xAB\x82\xAD\x82\xE0\x82\xC8\x82\xE8\x82\xDC\x82\xB9\x82\xF1\x81" "B"},  // 悪くもなりません。
    {"\x8Bg",  // 1: 吉
     "\x90\xCC\x82\xC8\x82\xAD\x82\xB5\x82\xBD\x82\xE0\x82\xCC\x82\xAA\x81" "A",  // 昔なくしたものが、
     "\x8Fo\x82\xC4\x82\xAD\x82\xE9\x82\xA9\x82\xE0\x81" "B"},  // 出てくるかも。
    {"\x91\xE5\x8B\xA5",  // 2: 大凶
     "\x91\xBC\x90l\x82\xCC\x94\xAD\x8C\xBE\x82\xF0\x82\xC6\x82\xA9\x82\xAD",  // 他人の発言をとかく
     "\x88\xAB\x82\xAD\x8E\xE6\x82\xE8\x82\xAA\x82\xBF\x82\xC8\x93\xFA\x81" "B"},  // 悪く取りがちな日。
    {"\x92\x86\x8Bg",  // 3: 中吉
     "\x8F\xAD\x82\xB5\x82\xCC\x93w\x97\xCD\x82\xC5\x8A\x90\x82\xA2\x82\xDC\x82\xB7\x81" "B",  // 少しの努力で叶います。
     "\x96\xE2\x91\xE8\x82\xCD\x93w\x97\xCD\x82\xC5\x82\xAB\x82\xE9\x82\xA9\x82\xC7\x82\xA4\x82\xA9\x81" "B"},  // 問題は努力できるかどうか。
    {"\x8B\xA5",  // 4: 凶
     "\x89^\x90\xA8\x82\xCD\x89\xBA\x82\xE8\x8D\xE2\x81" "B",  // 運勢は下り坂。
     "\x82\xA4\x81[\x82\xF1\x81" "B\x8D\xA1\x93\xFA\x82\xCD\x89\xE4\x96\x9D\x82\xCC\x88\xEA\x93\xFA\x81" "B"},  // うーん。今日は我慢の一日。
    {"\x96\x96\x8Bg",  // 5: 末吉
     "\x8Ev\x82\xED\x82\xCA\x8Fo\x94\xEF\x82\xAA\x82\xA0\x82\xE9\x82\xA9\x82\xE0\x81" "B",  // 思わぬ出費があるかも。
     "\x8Fo\x94\xEF\x82\xCD\x8DT\x82\xA6\x82\xDF\x82\xC9\x81" "B"},  // 出費は控えめに。
    {"\x8F\xAC\x8Bg",  // 6: 小吉
     "\x97" "F\x90l\x82\xC6\x92\x87\x97\xC7\x82\xAD\x82\xE2\x82\xC1\x82\xC4",  // 友人と仲良くやって
     "\x8Ds\x82\xAF\x82\xBB\x82\xA4\x82\xC5\x82\xB7\x81" "B"},  // 行けそうです。
    {"\x92\x86\x8Bg",  // 7: 中吉
     "\x82\xA2\x82\xA2\x95\xFB\x82\xC5\x82\xB7\x81" "B\x91\xBD\x8F\xAD\x96\xB3\x97\x9D\x82\xF0",  // いい方です。多少無理を
     "\x82\xB5\x82\xC4\x82\xE0\x89\xBD\x82\xC6\x82\xA9\x82\xC8\x82\xE9\x82\xC5\x82\xB5\x82\xE5\x82\xA4\x81" "B"},  // しても何とかなるでしょう。
    {"\x91\xE5\x8Bg",  // 8: 大吉
     "\x8D\xA1\x93\xFA\x82\xCC\x89^\x90\xA8\x82\xCD\x82\xA0\x82\xC8\x82\xBD\x82\xCC\x96\xA1\x95\xFB\x81" "B",  // 今日の運勢はあなたの味方。
     "\x82\xC8\x82\xF1\x82\xC6\x82\xA9\x82\xC8\x82\xE8\x82\xDC\x82\xB7\x81I"},  // なんとかなります！
    {"\x91\xE5\x8Bg",  // 9: 大吉
     "\x88\xD3\x8AO\x82\xC8\x82\xC6\x82\xB1\x82\xEB\x82\xA9\x82\xE7\x81" "A",  // 意外なところから、
     "\x8C\xA9\x82\xC2\x82\xA9\x82\xE9\x82\xC5\x82\xB5\x82\xE5\x82\xA4\x81" "B"},  // 見つかるでしょう。
    {"\x83n\x83Y\x83\x8C",  // 10: ハズレ
     "\x82\xDC\x82\xB8\x82\xA2\x82\xC5\x82\xB7\x81" "B\x8D\xA1\x93\xFA\x82\xCD",  // まずいです。今日は
     "\x91\x81\x82\xAD\x8B" "A\x82\xE9\x82\xE6\x82\xA4\x82\xC9\x82\xB5\x82\xDC\x82\xB5\x82\xE5\x82\xA4\x81" "B"},  // 早く帰るようにしましょう。
};

namespace {

constexpr int kFrameWidth = 18;
constexpr int kFrameHeight = 36;
constexpr int kFlashFrame = 10;

void Startup()
{
    ovDraw::Screen(180, 360, 1);
    ovSystem::SceneNumber = 1;
    ovSystem::PreviousScene = 0;
}

void Activate(int) {}

}  // namespace

void LoadScene()
{
    FortuneObject = ovDraw::LoadObject("FUURIN.bmp", 2);
    ovSystem::SceneNumber = 2;
    ovSystem::PreviousScene = 0;
    RandomOffset = ovSystem::Random() % 20;
}

void FortuneScene()
{
    ovDraw::Clear();
    if (SpinCounter < RandomOffset + 35) {
        // Spinning: each face stays one frame longer than the one before.
        ++StepCounter;
        if (StepCounter > SpinCounter) {
            SpinCounter += 2;
            StepCounter = 0;
            if (++Face > 10) Face = 0;
        }
    } else if (SpinCounter < RandomOffset + 55) {
        // Flashing: odd counts show the flash frame instead of the face.
        ++SpinCounter;
        if (SpinCounter % 2 == 1) {
            ovDraw::Stretch(0, 0, FortuneObject, kFlashFrame * kFrameWidth, 0, kFlashFrame * kFrameWidth + kFrameWidth,
                            kFrameHeight, 180, 360);
            ovDraw::Flip();
            return;
        }
    }
    ovDraw::Stretch(0, 0, FortuneObject, Face * kFrameWidth, 0, Face * kFrameWidth + kFrameWidth, kFrameHeight, 180, 360);
    if (SpinCounter >= RandomOffset + 55) {
        const FortuneText& f = FortuneTable[Face >= 1 && Face <= 10 ? Face : 0];
        ovDraw::Print(15, 300, "%s", f.grade);
        ovDraw::Print(15, 315, "%s", f.line1);
        ovDraw::Print(15, 330, "%s", f.line2);
    }
    ovDraw::Flip();
}

void KeyHandler(int code)
{
    switch (code) {
    case VK_TAB:
        if (++Face > 10) Face = 0;
        break;
    case VK_ESCAPE:
        ovSystem::Quit();
        break;
    case VK_SPACE:
        SpinCounter = 0;  // a new draw from the current face, at the fastest speed
        break;
    default:
        break;
    }
}

const ovSystem::detail::Application FortuneApplication = {Startup, Activate, KeyHandler, {nullptr, LoadScene, FortuneScene}};

}  // namespace ovApp
