// system/texts.h - ovSystem's own texts, as the Shift-JIS bytes the engine
// shows. Written with tools/sjis_literal.py; the readable text is beside each.
#pragma once

namespace ovSystem::texts {

inline constexpr char kWaitOutOfRange[] = "\x83" "E\x83" "F\x83" "C\x83gNo\x82\xAA\x94\xCD\x88\xCD\x8AO\x82\xC5\x82\xB7";  // ウェイトNoが範囲外です
inline constexpr char kErrorCaption[] = "\x83G\x83\x89\x81[\x94\xAD\x90\xB6";  // エラー発生
inline constexpr char kMessageCaption[] = "\x83\x81\x83" "b\x83Z\x81[\x83W";  // メッセージ
inline constexpr char kContextSeparator[] = " : ";  //  : 
inline constexpr char kSunday[] = "\x93\xFA";  // 日
inline constexpr char kMonday[] = "\x8C\x8E";  // 月
inline constexpr char kTuesday[] = "\x89\xCE";  // 火
inline constexpr char kWednesday[] = "\x90\x85";  // 水
inline constexpr char kThursday[] = "\x96\xD8";  // 木
inline constexpr char kFriday[] = "\x8B\xE0";  // 金
inline constexpr char kSaturday[] = "\x93y";  // 土

// The colour-depth check: the warning is the four pieces joined, its two %s
// filled with colour names; then one of the two questions.
inline constexpr char kDepthWarningWindowed[] = "\x81@\x83" "E\x83" "B\x83\x93\x83h\x83" "E\x8F\xF3\x91\xD4\x82\xC5\x8E\xC0\x8Ds\x82\xB5\x82\xE6\x82\xA4\x82\xC6\x82\xB5\x82\xC4\x82\xA2\x82\xDC\x82\xB7\x82\xAA\x81" "A";  // 　ウィンドウ状態で実行しようとしていますが、
inline constexpr char kDepthWarningScreen[] = "\x89\xE6\x96\xCA\x82\xAA%s\x90" "F\x88\xC8\x89\xBA\x82\xC9\x90\xDD\x92\xE8\x82\xB3\x82\xEA\x82\xC4\x82\xA2\x82\xDC\x82\xB7\x81" "B\x0A";  // 画面が%s色以下に設定されています。\n
inline constexpr char kDepthWarningAdvice[] = "\x90\xB3\x82\xB5\x82\xAD\x93\xAE\x8D\xEC\x82\xB3\x82\xB9\x82\xE9\x82\xC9\x82\xCD\x81" "A%s\x90" "F\x88\xC8\x8F\xE3\x82\xC9\x90\xDD\x92\xE8\x82\xB7\x82\xE9\x82\xA9\x81" "A";  // 正しく動作させるには、%s色以上に設定するか、
inline constexpr char kDepthWarningFullScreen[] = "\x83t\x83\x8B\x83X\x83N\x83\x8A\x81[\x83\x93\x82\xC5\x8E\xC0\x8Ds\x82\xB3\x82\xB9\x82\xC4\x89\xBA\x82\xB3\x82\xA2\x81" "B";  // フルスクリーンで実行させて下さい。
inline constexpr char kDepthQuestionSwitch[] = "\x83t\x83\x8B\x83X\x83N\x83\x8A\x81[\x83\x93\x82\xC9\x90\xD8\x82\xE8\x8A\xB7\x82\xA6\x82\xDC\x82\xB7\x82\xA9\x81H";  // フルスクリーンに切り換えますか？
inline constexpr char kDepthQuestionSettings[] = "\x83t\x83\x8B\x83X\x83N\x83\x8A\x81[\x83\x93\x82\xC9\x90\xDD\x92\xE8\x82\xB5\x92\xBC\x82\xB5\x82\xDC\x82\xB7\x82\xA9\x81H";  // フルスクリーンに設定し直しますか？
// Colour counts by depth index: 0 16 colours, 1 256, 2 65536, 3 full colour.
inline constexpr char kColors16[] = "16";  // 16
inline constexpr char kColors256[] = "256";  // 256
inline constexpr char kColors65536[] = "65536";  // 65536
inline constexpr char kColorsFullColour[] = "1670\x96\x9C";  // 1670万

}  // namespace ovSystem::texts
