#include <chrono>
#include <cstdlib>
#include <thread>
#include <fstream>

#include "fixture.h"

namespace {
using SoundTest = ScratchTest;

std::string Le(std::uint32_t v, int bytes) {
    std::string s;
    for (int i = 0; i < bytes; ++i) s += static_cast<char>((v >> (8 * i)) & 0xFF);
    return s;
}

// A short 16-bit mono PCM WAV file.
std::string Wav(int samples) {
    std::string data;
    for (int i = 0; i < samples; ++i) data += Le(static_cast<std::uint16_t>((i % 40) * 800), 2);
    const std::string fmt = Le(1, 2) + Le(1, 2) + Le(22050, 4) + Le(44100, 4) + Le(2, 2) + Le(16, 2);
    const std::string body = "WAVEfmt " + Le(16, 4) + fmt + "data" + Le(static_cast<std::uint32_t>(data.size()), 4) + data;
    return "RIFF" + Le(static_cast<std::uint32_t>(body.size()), 4) + body;
}

void Write(const std::string& path, const std::string& bytes) { std::ofstream(path, std::ios::binary) << bytes; }
}  // namespace

// Waits (in real time: the mixer runs on its own thread) until the sound is
// silent; false when it still plays after a few seconds.
bool FallsSilent(int number) {
    for (int waited = 0; waited < 5000; waited += 10) {
        if (!Testing_SoundPlaying(number)) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return false;
}

TEST_F(SoundTest, PlayStartsAChannelAtTheSetVolume) {
    ASSERT_NE(Sound_Init(), 0);
    Write(OsPath("click.wav"), Wav(2000));
    ASSERT_NE(Sound_Load(0, Path("click.wav")), 0);
    ASSERT_NE(Sound_Load(1, Path("click.wav")), 0);
    EXPECT_EQ(Testing_SoundVolume(0), 128);
    for (auto [volume, mixer] : {std::pair{150, 128}, {-3, 0}, {40, 51}, {100, 128}, {1, 1}}) {
        Sound_Volume(0, volume);
        EXPECT_EQ(Testing_SoundVolume(0), mixer) << volume;
    }
    EXPECT_EQ(Testing_SoundVolume(1), 128) << "each sound has its own volume";
    EXPECT_EQ(Testing_SoundPlaying(0), 0);
    Sound_Play(0, 0);
    Sound_Play(1, 1);  // looped
    EXPECT_NE(Testing_SoundPlaying(0), 0);
    EXPECT_NE(Testing_SoundPlaying(1), 0);
    EXPECT_TRUE(FallsSilent(0)) << "played once, it ends";
    EXPECT_NE(Testing_SoundPlaying(1), 0) << "looped, it goes on";
    Sound_Play(0, 0);
    Sound_Play(0, 0);  // again: starts over on one channel rather than piling up
    int channels = 0;
    for (int n : {0, 1}) channels += Testing_SoundPlaying(n);
    EXPECT_EQ(channels, 2);
    // References work like numbers; freeing stops the sound.
    const int ref = Sound_Load(-1, Path("click.wav"));
    EXPECT_GE(ref, kServiceReferenceBase);
    Sound_Play(ref, 1);
    EXPECT_NE(Testing_SoundPlaying(ref), 0);
    Sound_Free(ref);
    Sound_Free(1);
    EXPECT_EQ(Testing_SoundVolume(1), -1);
    Sound_Play(1, 0);
    EXPECT_EQ(Testing_SoundPlaying(1), 0);
}

TEST_F(SoundTest, BadFilesFailAndEmptyTheNumber) {
    ASSERT_NE(Sound_Init(), 0);
    Write(OsPath("click.wav"), Wav(100));
    Write(OsPath("bad.wav"), "RIFF\x10\x00\x00\x00WAVEjunk");
    const std::string good = Wav(100);
    Write(OsPath("cut.wav"), good.substr(0, 30));
    Write(OsPath("empty.wav"), "");
    for (const char* bad : {"bad.wav", "cut.wav", "empty.wav", "missing.wav"}) {
        ASSERT_NE(Sound_Load(2, Path("click.wav")), 0);
        EXPECT_EQ(Sound_Load(2, Path(bad)), 0) << bad;
        EXPECT_EQ(Testing_SoundVolume(2), -1) << bad;
    }
    EXPECT_EQ(Sound_Load(-9, Path("click.wav")), 0);
}

TEST_F(SoundTest, NeedsInitAndFallsBackWithoutADevice) {
    EXPECT_EQ(Sound_Load(0, Path("x.wav")), 0);
    // No such audio driver: the mixer still opens, into nothing.
    const char* old = std::getenv("SDL_AUDIODRIVER");
    const std::string saved = old ? old : "";
    Testing_SetEnvironment("SDL_AUDIODRIVER", "no-such-driver");
    EXPECT_NE(Sound_Init(), 0);
    Testing_SetEnvironment("SDL_AUDIODRIVER", saved);
    Write(OsPath("click.wav"), Wav(100));
    EXPECT_NE(Sound_Load(0, Path("click.wav")), 0);
    Sound_Play(0, 0);
    EXPECT_NE(Testing_SoundPlaying(0), 0);
}
