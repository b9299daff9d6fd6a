// Sound objects: loading, the table, copies and rotation, settings, pause,
// echo, output format, and the mixed output of the device.

#include "tests/sound/sound_fixture.h"

#include "platform/resources.h"
#include "sound/texts.h"

#include <cmath>

using namespace ovtest;
namespace hl = ovPlatform::headless;
namespace st = ovSound::texts;

namespace {

double Rms(const std::vector<std::int16_t>& s, int channel, int channels, std::size_t from = 0)
{
    double sum = 0;
    std::size_t n = 0;
    for (std::size_t i = from * channels + channel; i < s.size(); i += channels, ++n) sum += double(s[i]) * s[i];
    return n ? std::sqrt(sum / n) : 0;
}

bool Playing(int index, int copy)
{
    DWORD status = 0;
    ovSound::SoundObjects[index].copies[copy].buffer->GetStatus(&status);
    return status & DSBSTATUS_PLAYING;
}

}  // namespace

TEST_F(SoundTest, MixCountsFromMinusTenToTenAreAcceptedAndElevenIsRefused)
{
    WriteShort("a.wav");
    for (int mix = -11; mix <= 11; ++mix) {
        if (mix == 0) continue;
        SCOPED_TRACE(mix);
        std::size_t boxes = BoxCount();
        int index = ovSound::LoadObject("a.wav", mix);
        if (mix == 11 || mix == -11) {
            EXPECT_EQ(index, -1);
            EXPECT_EQ(LastBox(), Report("ovSound::LoadObject", st::kTooManyMixes));
            continue;
        }
        ASSERT_EQ(index, 0);
        EXPECT_EQ(BoxCount(), boxes);
        const auto& o = ovSound::SoundObjects[index];
        EXPECT_EQ(o.copyCount, std::abs(mix));
        EXPECT_EQ(o.echoState, mix > 1 ? 0 : -1);  // -3: three copies that cannot echo
        EXPECT_EQ(o.baseFrequency, 22050u);
        for (int c = 0; c < o.copyCount; ++c) EXPECT_NE(o.copies[c].buffer, nullptr);
        ovSound::ReleaseObject(index);
        EXPECT_EQ(o.inUse, 0);
    }
}

TEST_F(SoundTest, TableLimitNamesAndMissingResources)
{
    WriteShort("a.wav");
    for (int i = 0; i < ov::MAX_SOUNDS; ++i) ASSERT_EQ(ovSound::LoadObject("a.wav", 1), i);
    EXPECT_EQ(ovSound::LoadObject("a.wav", 1), -1);
    EXPECT_EQ(LastBox(), Report("ovSound::LoadObject", st::kTooManyObjects));
    for (int i = 0; i < ov::MAX_SOUNDS; ++i) ovSound::ReleaseObject(i);

    std::string name30(26, 'n'), name31(27, 'n');
    name30 += ".wav";
    name31 += ".wav";
    WriteShort(name30);
    WriteShort(name31);
    EXPECT_EQ(ovSound::LoadObject(name30.c_str(), 2), 0);
    EXPECT_EQ(std::string(ovSound::SoundObjects[0].name), name30);
    EXPECT_EQ(ovSound::LoadObject(name31.c_str(), 2), -1);
    EXPECT_EQ(LastBox(), Report("ovSound::LoadObject", st::kNameTooLong));
    EXPECT_EQ(ovSound::SoundObjects[1].inUse, 0);
    EXPECT_EQ(ovSound::SoundObjects[1].copies[0].buffer, nullptr);
    EXPECT_EQ(ovSound::SoundObjects[1].copies[1].buffer, nullptr);

    EXPECT_EQ(ovSound::LoadObject("nothing.wav", 1), -1);
    EXPECT_EQ(LastBox(), Report("ovSound::LoadObject", st::kWaveResourceMissing));
}

TEST_F(SoundTest, WaveResourcesLoadWhenNoFileHasTheName)
{
    static const std::vector<std::uint8_t> image = Wave(1, 11025, 8, std::vector<std::uint8_t>(1000, 0x90));
    static const std::vector<std::uint8_t> shortImage(30, 0);
    static const ovPlatform::ResourceEntry table[] = {
        {"CHIME", RT_RCDATA, image.data(), static_cast<std::uint32_t>(image.size())},
        {"BROKEN", "WAVE", shortImage.data(), static_cast<std::uint32_t>(shortImage.size())},
    };
    ovPlatform::SetResourceTable(table, 2);
    int index = ovSound::LoadObject("chime", 1);
    ASSERT_EQ(index, 0);
    EXPECT_EQ(ovSound::SoundObjects[0].baseFrequency, 11025u);
    EXPECT_EQ(ovSound::LoadObject("BROKEN", 1), -1);
    EXPECT_EQ(LastBox(), Report("ovSound::LoadObject", st::kWaveResourceMissing));
    ovPlatform::SetResourceTable(nullptr, 0);
}

TEST_F(SoundTest, RotationVisitsCopiesInTurnAndAGivenCopyLeavesIt)
{
    WriteShort("a.wav", 22050);
    int i = ovSound::LoadObject("a.wav", 3);
    ASSERT_EQ(i, 0);
    const int expected[] = {0, 1, 2, 0};
    for (int want : expected) {
        EXPECT_EQ(ovSound::SoundObjects[i].nextCopy, want);
        ovSound::Play(i, -1);
        EXPECT_TRUE(Playing(i, want));
    }
    ovSound::Stop(i, -1);
    ovSound::Play(i, 2);
    EXPECT_EQ(ovSound::SoundObjects[i].nextCopy, 1);
    EXPECT_TRUE(Playing(i, 2));
    EXPECT_FALSE(Playing(i, 1));
}

TEST_F(SoundTest, SettingsAreClampedAndSelectorsPickCopies)
{
    WriteShort("a.wav");
    int i = ovSound::LoadObject("a.wav", 3);
    auto& o = ovSound::SoundObjects[i];
    ovSound::SetVolume(i, -200, 0);
    EXPECT_EQ(o.copies[0].volume, -10000);
    ovSound::SetVolume(i, 5, 0);
    EXPECT_EQ(o.copies[0].volume, 0);
    ovSound::SetPan(i, 50, 0);
    EXPECT_EQ(o.copies[0].pan, 5000);
    ovSound::AddFrequency(i, -300, 0);
    EXPECT_EQ(o.copies[0].frequency, 100u);
    ovSound::SetFrequency(i, 1000, 0);
    EXPECT_EQ(o.copies[0].frequency, 100000u);
    DWORD f = 0;
    LONG pan = 0;
    o.copies[0].buffer->GetFrequency(&f);
    o.copies[0].buffer->GetPan(&pan);
    EXPECT_EQ(f, 100000u);  // the buffer has what the table says
    EXPECT_EQ(pan, 5000);

    ovSound::ResetFrequency(i, -1);
    o.nextCopy = 1;
    ovSound::SetVolume(i, -10, -2);  // the rotation copy only
    EXPECT_EQ(o.copies[0].volume, 0);
    EXPECT_EQ(o.copies[1].volume, -1000);
    EXPECT_EQ(o.copies[2].volume, 0);
    EXPECT_EQ(o.nextCopy, 1);
    ovSound::AddPan(i, -20, -1);  // every copy
    EXPECT_EQ(o.copies[0].pan, 3000);
    EXPECT_EQ(o.copies[1].pan, -2000);
    EXPECT_EQ(o.copies[2].pan, -2000);
    ovSound::PanRight(i, -1);
    ovSound::AddPan(i, 10, -1);
    EXPECT_EQ(o.copies[2].pan, 10000);
}

TEST_F(SoundTest, PauseTwiceResumesWhereItStoppedLoopedAfterPlayLoop)
{
    WriteShort("a.wav", 22050);  // one second
    int i = ovSound::LoadObject("a.wav", 1);
    ovSound::PlayLoop(i, 0);
    hl::Advance(250);
    ovSound::Pause(i, 0);
    auto& c = ovSound::SoundObjects[i].copies[0];
    EXPECT_NEAR(double(c.pausePosition), 250 * 22050 * 2 / 1000.0, 8.0);
    EXPECT_FALSE(Playing(i, 0));
    hl::Advance(500);
    ovSound::Pause(i, 0);
    DWORD status = 0, cursor = 0;
    c.buffer->GetStatus(&status);
    c.buffer->GetCurrentPosition(&cursor, nullptr);
    EXPECT_EQ(status, DSBSTATUS_PLAYING | DSBSTATUS_LOOPING);
    EXPECT_EQ(cursor, c.pausePosition);
    ovSound::Play(i, 0);  // loopFlag 0: a resumed copy plays once
    ovSound::Pause(i, 0);
    ovSound::Pause(i, 0);
    c.buffer->GetStatus(&status);
    EXPECT_EQ(status, DSBSTATUS_PLAYING);
}

TEST_F(SoundTest, EchoSoundsFourCopiesStepByStepQuieter)
{
    WriteShort("a.wav", 22050);
    int i = ovSound::LoadObject("a.wav", 4);
    auto& o = ovSound::SoundObjects[i];
    ovSound::SetVolume(i, -5, -1);
    ovSound::Play(i, -2);
    EXPECT_EQ(o.echoState, 1);
    EXPECT_EQ(o.copies[0].volume, 0);  // reset by the start of the echo
    EXPECT_TRUE(Playing(i, 0));
    ovSystem::FrameDelta = 0.05f;
    std::vector<int> played;
    for (int frame = 0; frame < 20 && o.echoState != 0; ++frame) {
        int next = o.nextCopy;
        ovSound::Echo(i, 100, 3, 10);
        if (o.nextCopy != next) played.push_back(next);
    }
    EXPECT_EQ(played, (std::vector<int>{1, 2, 3}));
    EXPECT_EQ(o.copies[1].volume, -1000);
    EXPECT_EQ(o.copies[2].volume, -2000);
    EXPECT_EQ(o.copies[3].volume, -3000);
    EXPECT_EQ(o.echoState, 0);
    for (int c = 0; c < 4; ++c) EXPECT_TRUE(Playing(i, c));

    ovSound::Play(i, -2);
    ovSound::Stop(i, 0);
    EXPECT_EQ(o.echoState, 1);  // a given copy leaves the echo running
    ovSound::Stop(i, -1);
    EXPECT_EQ(o.echoState, 0);
    for (int c = 0; c < 4; ++c) EXPECT_FALSE(Playing(i, c));
}

TEST_F(SoundTest, SelectFormatChangesTheOutputAndReloadsInPlace)
{
    WriteShort("a.wav");
    int i = ovSound::LoadObject("a.wav", 2);
    ovSound::SetVolume(i, -7, 1);
    IDirectSoundBuffer* before = ovSound::SoundObjects[i].copies[1].buffer;
    EXPECT_EQ(ovSound::SelectFormat(2, 22, 16), 1);
    auto f = hl::AudioOutput();
    EXPECT_EQ(f.rate, 22050);
    EXPECT_EQ(f.channels, 2);
    EXPECT_EQ(f.bits, 16);
    WAVEFORMATEX w{};
    ovSound::PrimaryBuffer->GetFormat(&w, sizeof(w), nullptr);
    EXPECT_EQ(w.nBlockAlign, 4);
    EXPECT_EQ(w.nAvgBytesPerSec, 88200u);
    const auto& o = ovSound::SoundObjects[i];
    EXPECT_NE(o.copies[1].buffer, nullptr);
    LONG v = 0;
    o.copies[1].buffer->GetVolume(&v);
    EXPECT_EQ(v, -700);  // the reload gave the setting back
    (void)before;
    EXPECT_EQ(ovSound::SelectFormat(1, 48000, 8), 1);
    EXPECT_EQ(hl::AudioOutput().rate, 48000);
    EXPECT_EQ(hl::AudioOutput().bits, 8);

    hl::RefuseOutputFormat(true);
    EXPECT_EQ(ovSound::SelectFormat(2, 44, 16), 0);
    EXPECT_EQ(LastBox(), Report("ovSound::SelectFormat", st::kFormatNotChanged));
}

class PriorityRefusedTest : public SoundTest {
    bool OpenDevice() override
    {
        hl::RefusePriorityLevel(true);
        return true;
    }
};

TEST_F(PriorityRefusedTest, SelectFormatFailsUnderTheNormalLevel)
{
    EXPECT_EQ(ovSound::SelectFormat(2, 22, 16), 0);
    EXPECT_EQ(LastBox(), Report("ovSound::SelectFormat", st::kFormatNotChanged));
    EXPECT_EQ(hl::AudioOutput().rate, 44100);
}

class NoDeviceTest : public SoundTest {
    bool OpenDevice() override
    {
        hl::SetAudioDevicePresent(false);
        return false;
    }
};

TEST_F(NoDeviceTest, WithoutADeviceSoundIsUnavailableAndSilent)
{
    WriteShort("a.wav");
    EXPECT_EQ(ovSound::Open(), 0);
    EXPECT_EQ(ovSound::SoundAvailable, 0);
    EXPECT_EQ(ovSound::LoadObject("a.wav", 1), -1);
    EXPECT_EQ(ovSound::LoadPack("a.wav", 1), -1);
    EXPECT_EQ(ovSound::LoadStream("a.wav", 0), -1);
    EXPECT_EQ(ovSound::SelectFormat(2, 22, 16), 1);
    EXPECT_EQ(ovSound::Streaming(), 0);
    ovSound::Play(0, -1);
    EXPECT_EQ(BoxCount(), 0u);
}

TEST_F(SoundTest, BufferCreationFailureLeavesTheTableAsItWas)
{
    WriteShort("a.wav");
    hl::LimitSoundBuffers(2);
    EXPECT_EQ(ovSound::LoadObject("a.wav", 3), -1);
    EXPECT_EQ(LastBox(), Report("ovSound::LoadObject", st::kBufferNotCreated));
    const auto& o = ovSound::SoundObjects[0];
    EXPECT_EQ(o.inUse, 0);
    EXPECT_EQ(o.copyCount, 1);
    for (const auto& c : o.copies) EXPECT_EQ(c.buffer, nullptr);
}

TEST_F(SoundTest, PlaySystemPlaysTheFileAndReloadsTheObjects)
{
    WriteShort("a.wav", 22050);
    int i = ovSound::LoadObject("a.wav", 1);
    std::string path = (dir / "a.wav").string();
    std::uint32_t before = hl::Now();
    ovSound::PlaySystem(path.c_str());
    ASSERT_EQ(hl::SystemSounds().size(), 1u);
    EXPECT_EQ(hl::SystemSounds()[0].name, path);
    EXPECT_TRUE(hl::SystemSounds()[0].played);
    EXPECT_EQ(hl::SystemSounds()[0].lengthMs, 1000u);
    EXPECT_EQ(hl::Now() - before, 1000u);
    EXPECT_EQ(ovSound::SoundAvailable, 1);
    EXPECT_NE(ovSound::SoundObjects[i].copies[0].buffer, nullptr);
}

// * * * The mixed output * * *

TEST_F(SoundTest, VolumeMinusThousandIsTenDecibelsDown)
{
    Write("a.wav", Wave(1, 44100, 16, Constant16(44100, 10000)));
    int i = ovSound::LoadObject("a.wav", 2);
    ovSound::PlayLoop(i, 0);
    double full = Rms(hl::RenderAudio(100), 0, 2);
    ovSound::Stop(i, 0);
    ovSound::SetVolume(i, -10, 1);
    ovSound::PlayLoop(i, 1);
    double down = Rms(hl::RenderAudio(100), 0, 2);
    EXPECT_NEAR(full, 10000, 2);
    EXPECT_NEAR(20 * std::log10(down / full), -10.0, 0.05);
}

TEST_F(SoundTest, PanFullLeftSilencesTheRightChannel)
{
    Write("a.wav", Wave(1, 44100, 16, Constant16(44100, 8000)));
    int i = ovSound::LoadObject("a.wav", 1);
    ovSound::PanLeft(i, 0);
    ovSound::PlayLoop(i, 0);
    auto out = hl::RenderAudio(100);
    EXPECT_NEAR(Rms(out, 0, 2), 8000, 2);
    EXPECT_EQ(Rms(out, 1, 2), 0.0);
}

TEST_F(SoundTest, DoublingTheFrequencyPlaysTheDataTwiceAsFast)
{
    Write("a.wav", Wave(1, 22050, 16, Constant16(22050, 5000)));  // one second
    int i = ovSound::LoadObject("a.wav", 1);
    ovSound::SetFrequency(i, 220, 0);  // 22050 + 22000 Hz
    ovSound::AddFrequency(i, 0, 0);
    ovSound::SoundObjects[i].copies[0].buffer->SetFrequency(44100);
    ovSound::Play(i, 0);
    auto out = hl::RenderAudio(1000);
    ASSERT_EQ(out.size(), 2u * 44100);
    EXPECT_NEAR(Rms(std::vector<std::int16_t>(out.begin(), out.begin() + 2 * 22000), 0, 2), 5000, 2);
    EXPECT_EQ(Rms(std::vector<std::int16_t>(out.begin() + 2 * 22100, out.end()), 0, 2), 0.0);
    EXPECT_FALSE(Playing(i, 0));  // played once, ended after half a second
}
