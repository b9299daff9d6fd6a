// Streamed playback: the ring, its refills, looping and the end of a stream.

#include "tests/sound/sound_fixture.h"

#include "sound/texts.h"

#include <cstring>

using namespace ovtest;
namespace hl = ovPlatform::headless;

namespace {

constexpr int kRate = 1000;  // 8-bit mono at 1000 Hz: one byte per millisecond

// Every byte of second s holds 16 + s.
std::vector<std::uint8_t> Seconds(int tenths)
{
    std::vector<std::uint8_t> d(static_cast<std::size_t>(tenths) * kRate / 10);
    for (std::size_t i = 0; i < d.size(); ++i) d[i] = static_cast<std::uint8_t>(16 + i / kRate);
    return d;
}

// Ring contents as the device holds them.
std::vector<std::uint8_t> Ring(int index)
{
    auto* buffer = ovSound::SoundObjects[index].copies[0].buffer;
    DWORD size = ovSound::SoundObjects[index].stream.bufferSize;
    void *p1, *p2;
    DWORD n1, n2;
    std::vector<std::uint8_t> out(size);
    EXPECT_EQ(buffer->Lock(0, size, &p1, &n1, &p2, &n2, 0), DS_OK);
    std::memcpy(out.data(), p1, n1);
    buffer->Unlock(p1, n1, p2, n2);
    return out;
}

class StreamTest : public SoundTest {
protected:
    void SetUp() override
    {
        SoundTest::SetUp();
        std::vector<std::uint8_t> pack;
        auto add = [&](const char* name, int tenths) {
            auto wave = Wave(1, kRate, 8, Seconds(tenths));
            Write(name, wave);
        };
        add("SEVEN.WAV", 70);
        add("NINE.WAV", 90);
        add("SHORT.WAV", 49);
        ovSound::Convert("MUSIC.PAK", "", 1);
        ovSound::SetPack("MUSIC.PAK");
    }
    // Frames of 100 ms: advance, then one refill pass. Returns each chunk size
    // written, in bytes.
    std::vector<DWORD> Run(int index, int frames)
    {
        std::vector<DWORD> chunks;
        auto& s = ovSound::SoundObjects[index].stream;
        for (int f = 0; f < frames; ++f) {
            DWORD before = s.writeOffset;
            DWORD trigger = s.trigger;
            EXPECT_EQ(ovSound::Streaming(), 1);
            if (s.trigger != trigger || s.writeOffset != before)
                chunks.push_back((s.writeOffset + s.bufferSize - before) % s.bufferSize);
            hl::Advance(100);
        }
        return chunks;
    }
    bool Playing(int index)
    {
        DWORD status = 0;
        ovSound::SoundObjects[index].copies[0].buffer->GetStatus(&status);
        return status & DSBSTATUS_PLAYING;
    }
};

}  // namespace

TEST_F(StreamTest, ShortEntriesLoadWholeAndLongOnesStream)
{
    int whole = ovSound::LoadStream("short.wav", 0);
    ASSERT_EQ(whole, 0);
    EXPECT_EQ(ovSound::SoundObjects[whole].stream.dataSize, 0u);
    EXPECT_EQ(ovSound::SoundObjects[whole].fromPack, 1);
    int s = ovSound::LoadStream("seven.wav", 0);
    ASSERT_EQ(s, 1);
    const auto& o = ovSound::SoundObjects[s];
    EXPECT_EQ(o.stream.dataSize, 7000u);
    EXPECT_EQ(o.stream.bufferSize, 4000u);
    EXPECT_EQ(o.stream.halfSize, 2000u);
    EXPECT_EQ(o.echoState, -1);
    EXPECT_EQ(o.copyCount, 1);
    auto ring = Ring(s);
    EXPECT_EQ(ring[0], 16);
    EXPECT_EQ(ring[1999], 17);
}

TEST_F(StreamTest, ChunksAreTwoSecondsThenTheRestInTwoEqualHalves)
{
    struct Case {
        const char* name;
        std::vector<DWORD> chunks;  // after the first pass
    };
    for (const Case& c : {Case{"SEVEN.WAV", {1500, 1500}}, Case{"NINE.WAV", {2000, 1500, 1500}}}) {
        SCOPED_TRACE(c.name);
        int i = ovSound::LoadStream(c.name, 0);
        ovSound::PlayLoop(i, 0);
        auto& st = ovSound::SoundObjects[i].stream;
        // The first pass after a play refills at once: seconds 2..4 into the second half.
        EXPECT_EQ(ovSound::Streaming(), 1);
        EXPECT_EQ(st.readCount, 4000u);
        EXPECT_EQ(Ring(i)[2000], 18);
        EXPECT_EQ(Ring(i)[3999], 19);
        auto chunks = Run(i, static_cast<int>(st.dataSize / 100) - 20);
        chunks.resize(std::min(chunks.size(), c.chunks.size()));
        EXPECT_EQ(chunks, c.chunks);
        ovSound::ReleaseObject(i);
    }
}

TEST_F(StreamTest, ALoopingStreamGoesOnAtItsLoopOffset)
{
    int i = ovSound::LoadStream("SEVEN.WAV", 1000);
    ovSound::PlayLoop(i, 0);
    auto& st = ovSound::SoundObjects[i].stream;
    EXPECT_EQ(st.loopStart, st.dataStart + 1000);
    // Run until the last byte has been read, then to the next refill: it
    // writes second 1 right after the last bytes of second 6.
    int frames = 0;
    while (st.filePos != st.loopStart && frames++ < 100) Run(i, 1);
    ASSERT_EQ(st.filePos, st.loopStart);
    EXPECT_EQ(st.readCount, 1000u);
    DWORD trigger = st.trigger;
    while (st.trigger == trigger && frames++ < 200) Run(i, 1);
    auto ring = Ring(i);
    EXPECT_EQ(ring[(st.trigger + st.bufferSize - 1) % st.bufferSize], 22);
    EXPECT_EQ(ring[st.trigger], 17);
    Run(i, 300);  // and on, for ever
    EXPECT_TRUE(Playing(i));
    EXPECT_EQ(st.stopCountdown, 0);
}

TEST_F(StreamTest, AStreamPlayedOnceStopsAndRewindsAfterItsLastSample)
{
    int i = ovSound::LoadStream("SEVEN.WAV", 0);
    ovSound::Play(i, 0);
    auto& st = ovSound::SoundObjects[i].stream;
    int frames = 0;
    while (Playing(i) && frames < 200) {
        Run(i, 1);
        ++frames;
    }
    EXPECT_FALSE(Playing(i));
    EXPECT_GE(frames, 70);   // all seven seconds were played
    EXPECT_LE(frames, 115);  // and the silent chunk after them, no more
    DWORD cursor = 1;
    ovSound::SoundObjects[i].copies[0].buffer->GetCurrentPosition(&cursor, nullptr);
    EXPECT_EQ(cursor, 0u);
    ovSound::Play(i, 0);
    EXPECT_EQ(st.readCount, 2000u);
    EXPECT_EQ(st.stopCountdown, 0);
    EXPECT_TRUE(Playing(i));
}

TEST_F(StreamTest, TheSilentEndChunkIsSilenceOfEightBitData)
{
    int i = ovSound::LoadStream("SEVEN.WAV", 0);
    ovSound::Play(i, 0);
    auto& st = ovSound::SoundObjects[i].stream;
    while (st.stopCountdown != 1 && Playing(i)) Run(i, 1);
    ASSERT_EQ(st.stopCountdown, 1);
    auto ring = Ring(i);
    DWORD n = (st.writeOffset + st.bufferSize - st.trigger) % st.bufferSize;
    for (DWORD k = 0; k < n; ++k) ASSERT_EQ(ring[(st.trigger + k) % st.bufferSize], 0x80) << k;
}

TEST_F(StreamTest, PausedStreamsAreNotRefilledAndReleasedOnesLeaveThePass)
{
    int i = ovSound::LoadStream("NINE.WAV", 0);
    ovSound::Play(i, 0);
    auto& st = ovSound::SoundObjects[i].stream;
    Run(i, 25);
    DWORD read = st.readCount;
    ovSound::Pause(i, 0);
    Run(i, 40);
    EXPECT_EQ(st.readCount, read);
    ovSound::Pause(i, 0);
    DWORD status = 0;
    ovSound::SoundObjects[i].copies[0].buffer->GetStatus(&status);
    EXPECT_EQ(status, DSBSTATUS_PLAYING | DSBSTATUS_LOOPING);
    Run(i, 25);
    EXPECT_GT(st.readCount, read);
    ovSound::ReleaseObject(i);
    EXPECT_EQ(st.dataSize, 0u);
    EXPECT_EQ(ovSound::Streaming(), 1);
}

TEST_F(StreamTest, AMissingPackFileIsReported)
{
    int i = ovSound::LoadStream("SEVEN.WAV", 0);
    std::filesystem::remove(dir / "MUSIC.PAK");
    ovSound::Play(i, 0);
    EXPECT_EQ(ovSound::Streaming(), 0);
    EXPECT_EQ(LastBox(), Report("ovSound::Streaming", ovSound::texts::kNoPackFile));
    EXPECT_EQ(ovSound::LoadStream("SEVEN.WAV", 0), -1);
}
