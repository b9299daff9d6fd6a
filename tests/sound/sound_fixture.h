// tests/sound/sound_fixture.h - a headless sound device, a scratch folder as
// the executable's directory, and WAVE files written to order.
#pragma once

#include "platform/dsound.h"
#include "platform/headless/headless.h"
#include "platform/platform.h"
#include "sound/sound.h"
#include "system/system.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace ovtest {

inline void Put32(std::vector<std::uint8_t>& v, std::uint32_t x)
{
    for (int i = 0; i < 4; ++i) v.push_back(static_cast<std::uint8_t>(x >> (8 * i)));
}
inline void Put16(std::vector<std::uint8_t>& v, std::uint16_t x)
{
    v.push_back(static_cast<std::uint8_t>(x));
    v.push_back(static_cast<std::uint8_t>(x >> 8));
}
inline void PutBytes(std::vector<std::uint8_t>& v, const std::vector<std::uint8_t>& bytes)
{
    for (std::uint8_t b : bytes) v.push_back(b);  // (insert trips a false overflow warning of GCC 12)
}
inline void PutId(std::vector<std::uint8_t>& v, const char* id)
{
    for (int i = 0; i < 4; ++i) v.push_back(static_cast<std::uint8_t>(id[i]));
}

// A 16-byte PCM format record.
inline std::vector<std::uint8_t> PcmFormat(int channels, int rate, int bits)
{
    std::vector<std::uint8_t> f;
    int align = channels * bits / 8;
    Put16(f, 1);
    Put16(f, static_cast<std::uint16_t>(channels));
    Put32(f, static_cast<std::uint32_t>(rate));
    Put32(f, static_cast<std::uint32_t>(rate * align));
    Put16(f, static_cast<std::uint16_t>(align));
    Put16(f, static_cast<std::uint16_t>(bits));
    return f;
}

inline void PutChunk(std::vector<std::uint8_t>& v, const char* id, const std::vector<std::uint8_t>& body,
                     std::uint32_t declared = 0xFFFFFFFFu)
{
    PutId(v, id);
    Put32(v, declared == 0xFFFFFFFFu ? static_cast<std::uint32_t>(body.size()) : declared);
    PutBytes(v, body);
    if (body.size() & 1) v.push_back(0);
}

// A RIFF WAVE image from its sub-chunks.
inline std::vector<std::uint8_t> Riff(const std::vector<std::uint8_t>& chunks)
{
    std::vector<std::uint8_t> v;
    PutId(v, "RIFF");
    Put32(v, static_cast<std::uint32_t>(chunks.size() + 4));
    PutId(v, "WAVE");
    PutBytes(v, chunks);
    return v;
}

// A plain WAVE file image: fmt then data.
inline std::vector<std::uint8_t> Wave(int channels, int rate, int bits, const std::vector<std::uint8_t>& data)
{
    std::vector<std::uint8_t> chunks;
    PutChunk(chunks, "fmt ", PcmFormat(channels, rate, bits));
    PutChunk(chunks, "data", data);
    return Riff(chunks);
}

// 16-bit mono samples of a constant value.
inline std::vector<std::uint8_t> Constant16(int frames, std::int16_t value)
{
    std::vector<std::uint8_t> d;
    for (int i = 0; i < frames; ++i) Put16(d, static_cast<std::uint16_t>(value));
    return d;
}

class SoundTest : public ::testing::Test {
protected:
    std::filesystem::path dir;

    void SetUp() override
    {
        ASSERT_TRUE(ovPlatform::Start("headless"));
        char pattern[] = "/tmp/ovsound-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        dir = pattern;
        ovPlatform::headless::SetExecutablePath((dir / "program").string());
        ovSound::detail::EmptyTable();
        if (OpenDevice()) {
            ASSERT_EQ(ovSound::Open(), 1);
        }
    }
    void TearDown() override
    {
        ovSound::Close();
        ovPlatform::Stop();
        std::filesystem::remove_all(dir);
    }
    virtual bool OpenDevice() { return true; }

    void Write(const std::string& name, const std::vector<std::uint8_t>& bytes)
    {
        std::filesystem::create_directories((dir / name).parent_path());
        std::ofstream out(dir / name, std::ios::binary);
        out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    }
    // A short 22050 Hz 16-bit mono sound.
    void WriteShort(const std::string& name, int frames = 2205) { Write(name, Wave(1, 22050, 16, Constant16(frames, 1000))); }

    std::size_t BoxCount() { return ovPlatform::headless::Boxes().size(); }
    std::string LastBox() { return BoxCount() ? ovPlatform::headless::Boxes().back().text : std::string(); }
    static std::string Report(const char* context, const char* message) { return std::string(context) + " : " + message; }
};

}  // namespace ovtest
