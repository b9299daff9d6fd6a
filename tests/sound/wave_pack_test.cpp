// The WAVE reader on good and damaged files, and sound packs.

#include "tests/sound/sound_fixture.h"

#include "sound/texts.h"

using namespace ovtest;
namespace st = ovSound::texts;

namespace {

struct WaveCase {
    const char* what;
    std::vector<std::uint8_t> bytes;
    bool ok;
    DWORD formatSize;
    DWORD dataSize;
};

std::vector<WaveCase> WaveCases()
{
    auto data = Constant16(100, 7);
    std::vector<WaveCase> cases;
    cases.push_back({"plain", Wave(1, 8000, 16, data), true, 18, 200});
    {
        std::vector<std::uint8_t> c;
        PutChunk(c, "data", data);
        PutChunk(c, "LIST", std::vector<std::uint8_t>(5, 1));
        PutChunk(c, "fmt ", PcmFormat(1, 8000, 16));
        cases.push_back({"data before fmt, odd chunk between", Riff(c), true, 18, 200});
    }
    {
        std::vector<std::uint8_t> c, f = PcmFormat(1, 8000, 16);
        f.resize(14);
        PutChunk(c, "fmt ", f);
        PutChunk(c, "data", data);
        cases.push_back({"fmt of 14 bytes", Riff(c), false, 0, 0});
    }
    {
        std::vector<std::uint8_t> c, f = PcmFormat(1, 8000, 16);
        Put16(f, 0x4444);  // an extra size a PCM reader must not use
        PutChunk(c, "fmt ", f);
        PutChunk(c, "data", data);
        cases.push_back({"PCM fmt of 18 bytes", Riff(c), true, 18, 200});
    }
    {
        std::vector<std::uint8_t> c, f = PcmFormat(1, 8000, 16);
        f[0] = 2;  // not PCM: an extra size follows
        Put16(f, 4);
        Put32(f, 0x01020304);
        PutChunk(c, "fmt ", f);
        PutChunk(c, "data", data);
        cases.push_back({"extra format bytes", Riff(c), true, 22, 200});
    }
    {
        std::vector<std::uint8_t> c, f = PcmFormat(1, 8000, 16);
        f[0] = 2;
        Put16(f, 60000);  // far more than the chunk holds
        PutChunk(c, "fmt ", f);
        PutChunk(c, "data", data);
        cases.push_back({"absurd extra size", Riff(c), false, 0, 0});
    }
    {
        auto w = Wave(1, 8000, 16, data);
        w.resize(w.size() - 50);
        cases.push_back({"ends inside data", w, false, 0, 0});
    }
    {
        std::vector<std::uint8_t> c;
        PutChunk(c, "fmt ", PcmFormat(1, 8000, 16));
        PutChunk(c, "data", data, 0x7FFFFFF0u);
        cases.push_back({"data size past the end", Riff(c), false, 0, 0});
    }
    {
        std::vector<std::uint8_t> c;
        PutChunk(c, "fmt ", PcmFormat(1, 8000, 16), 0x10000000u);
        PutChunk(c, "data", data);
        cases.push_back({"fmt size past the end", Riff(c), false, 0, 0});
    }
    {
        std::vector<std::uint8_t> c;
        PutChunk(c, "fmt ", PcmFormat(1, 8000, 16));
        cases.push_back({"no data chunk", Riff(c), false, 0, 0});
    }
    cases.push_back({"not RIFF", std::vector<std::uint8_t>(64, 'x'), false, 0, 0});
    cases.push_back({"empty", {}, false, 0, 0});
    return cases;
}

// A pack entry as the converter writes it, with room to lie about sizes.
void PutEntry(std::vector<std::uint8_t>& pack, const char* name, const std::vector<std::uint8_t>& format,
              const std::vector<std::uint8_t>& data, std::uint32_t d = 0xFFFFFFFFu, std::uint32_t f = 0xFFFFFFFFu)
{
    Put32(pack, d == 0xFFFFFFFFu ? static_cast<std::uint32_t>(data.size()) : d);
    for (const char* c = name;; ++c) {
        pack.push_back(static_cast<std::uint8_t>(*c));
        if (!*c) break;
    }
    Put32(pack, f == 0xFFFFFFFFu ? static_cast<std::uint32_t>(format.size()) : f);
    PutBytes(pack, format);
    PutBytes(pack, data);
}

std::vector<std::uint8_t> Format18(int channels, int rate, int bits)
{
    auto f = PcmFormat(channels, rate, bits);
    Put16(f, 0);
    return f;
}

}  // namespace

TEST_F(SoundTest, ReadWaveTakesSoundFilesAndRefusesDamagedOnes)
{
    for (const WaveCase& c : WaveCases()) {
        SCOPED_TRACE(c.what);
        Write("case.wav", c.bytes);
        WAVEFORMATEX* format = reinterpret_cast<WAVEFORMATEX*>(1);
        BYTE* data = reinterpret_cast<BYTE*>(1);
        DWORD formatSize = 99, dataSize = 99;
        std::string path = (dir / "case.wav").string();
        int r = ovSound::ReadWave(path.c_str(), &format, &formatSize, &data, &dataSize);
        EXPECT_EQ(r, c.ok ? 0 : 1);
        if (c.ok) {
            ASSERT_NE(format, nullptr);
            EXPECT_EQ(formatSize, c.formatSize);
            EXPECT_EQ(dataSize, c.dataSize);
            EXPECT_EQ(format->cbSize, c.formatSize - 18);
            EXPECT_EQ(format->nSamplesPerSec, 8000u);
            EXPECT_EQ(data[0], 7);
        } else {
            EXPECT_EQ(format, nullptr);
            EXPECT_EQ(data, nullptr);
            EXPECT_EQ(dataSize, 0u);
        }
        std::free(format);
        std::free(data);
    }
}

TEST_F(SoundTest, PackEntriesAreFoundByUpperCaseNameOnly)
{
    WriteShort("sounds/jingle.wav");
    WriteShort("sounds/Bell.WAV");
    Write("sounds/broken.wav", std::vector<std::uint8_t>(10, 0));
    EXPECT_EQ(ovSound::Convert("SE.PAK", "sounds", 0), 1);
    ovSound::SetPack("SE.PAK");
    int i = ovSound::LoadPack("Jingle.wav", 2);
    ASSERT_EQ(i, 0);
    EXPECT_EQ(ovSound::SoundObjects[i].fromPack, 1);
    EXPECT_EQ(ovSound::SoundObjects[i].copyCount, 2);
    EXPECT_EQ(std::string(ovSound::SoundObjects[i].name), "Jingle.wav");
    EXPECT_EQ(ovSound::LoadPack("bell.wav", 1), 1);
    EXPECT_EQ(ovSound::LoadPack("JINGLE", 1), -1);
    EXPECT_EQ(LastBox(), Report("ovSound::LoadPack", st::kWaveUnreadable));
    EXPECT_EQ(ovSound::LoadPack("BROKEN.WAV", 1), -1);  // skipped by the converter

    auto size = std::filesystem::file_size(dir / "SE.PAK");
    EXPECT_EQ(size, (4 + 11 + 4 + 18 + 4410) + (4 + 9 + 4 + 18 + 4410));  // JINGLE.WAV, BELL.WAV
    ovSound::Convert("SE.PAK", "sounds", 0);
    EXPECT_EQ(std::filesystem::file_size(dir / "SE.PAK"), 2 * size);
    EXPECT_EQ(ovSound::LoadPack("jingle.wav", 1), 2);
    ovSound::Convert("SE.PAK", "sounds", 1);
    EXPECT_EQ(std::filesystem::file_size(dir / "SE.PAK"), size);
}

TEST_F(SoundTest, PackFailuresAreReported)
{
    EXPECT_EQ(ovSound::LoadPack("A.WAV", 1), -1);
    EXPECT_EQ(LastBox(), Report("ovSound::LoadPack", st::kNoPackFile));
    Write("EMPTY.PAK", {});
    ovSound::SetPack("EMPTY.PAK");
    EXPECT_EQ(ovSound::LoadPack("A.WAV", 1), -1);
    EXPECT_EQ(LastBox(), Report("ovSound::LoadPack", st::kWaveUnreadable));
    EXPECT_EQ(ovSound::LoadPack("A.WAV", 11), -1);
    EXPECT_EQ(LastBox(), Report("ovSound::LoadPack", st::kTooManyMixes));
    std::string name31(27, 'N');
    name31 += ".WAV";
    std::vector<std::uint8_t> pack;
    PutEntry(pack, name31.c_str(), Format18(1, 8000, 8), std::vector<std::uint8_t>(100, 0x80));
    Write("LONG.PAK", pack);
    ovSound::SetPack("LONG.PAK");
    EXPECT_EQ(ovSound::LoadPack(name31.c_str(), 1), -1);
    EXPECT_EQ(LastBox(), Report("ovSound::LoadPack", st::kPackNameTooLong));
    EXPECT_EQ(ovSound::SoundObjects[0].inUse, 0);
}

TEST_F(SoundTest, ScannerStepsOverNonPcmEntriesAndRefusesAbsurdSizes)
{
    std::vector<std::uint8_t> pack;
    auto wide = Format18(1, 8000, 8);
    wide[16] = 6;  // an entry whose format has 6 extra bytes
    PutBytes(wide, std::vector<std::uint8_t>(6, 0xEE));
    PutEntry(pack, "ODD.WAV", wide, std::vector<std::uint8_t>(40, 0x80));
    PutEntry(pack, "NEXT.WAV", Format18(1, 8000, 8), std::vector<std::uint8_t>(100, 0x80));
    Write("MIX.PAK", pack);
    ovSound::SetPack("MIX.PAK");
    EXPECT_EQ(ovSound::LoadPack("next.wav", 1), 0);

    struct Bad {
        const char* what;
        std::uint32_t d, f;
    };
    for (Bad b : {Bad{"D past the end", 0x7FFFFFF0u, 18}, Bad{"F past the end", 100, 0x7FFFFFF0u},
                  Bad{"F too small", 100, 4}}) {
        SCOPED_TRACE(b.what);
        std::vector<std::uint8_t> p;
        PutEntry(p, "BAD.WAV", Format18(1, 8000, 8), std::vector<std::uint8_t>(100, 0x80), b.d, b.f);
        PutEntry(p, "AFTER.WAV", Format18(1, 8000, 8), std::vector<std::uint8_t>(100, 0x80));
        Write("BAD.PAK", p);
        ovSound::SetPack("BAD.PAK");
        EXPECT_EQ(ovSound::LoadPack("BAD.WAV", 1), -1);
        EXPECT_EQ(LastBox(), Report("ovSound::LoadPack", st::kWaveUnreadable));
    }
    std::vector<std::uint8_t> noName(300, 'A');  // no NUL where a name could end
    Write("NONAME.PAK", noName);
    ovSound::SetPack("NONAME.PAK");
    EXPECT_EQ(ovSound::LoadPack("A", 1), -1);
}
