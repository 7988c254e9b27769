#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "render/core/EmbeddedProfile.h"

namespace {

// Bytes in a string, which joins with +.
using Bytes = std::string;

Bytes BigEndian(std::size_t value) {
    return {char(value >> 24), char(value >> 16), char(value >> 8), char(value)};
}

// A profile of the colour space whose one tag, 'desc', holds the text as a version 2
// description or, with unicode, as a version 4 one.
Bytes Profile(const char* space, const std::string& text, bool unicode = false) {
    Bytes tag = unicode ? "mluc" + Bytes(4, 0) + BigEndian(1) + BigEndian(12) + Bytes(4, 0) +
                              BigEndian(text.size() * 2) + BigEndian(28)
                        : "desc" + Bytes(4, 0) + BigEndian(text.size() + 1);
    for (const char c : text) {
        tag += unicode ? Bytes{0, c} : Bytes{c};
    }
    const Bytes body = space + Bytes(108, 0) + BigEndian(1) + "desc" + BigEndian(144) +
                       BigEndian(tag.size() + 1) + tag + Bytes(1, 0);
    return BigEndian(body.size() + 16) + Bytes(12, 0) + body;
}

// Part of a profile in an APP2 segment, as chunk number of count.
Bytes Chunk(const Bytes& part, int number, int count) {
    const Bytes body = Bytes("ICC_PROFILE", 12) + char(number) + char(count) + part;
    return "\xFF\xE2" + BigEndian(body.size() + 2).substr(2) + body;
}

// The profile found in the file's bytes.
Bytes ProfileOf(const Bytes& file) {
    const auto profile = JpegEmbeddedProfile([&](std::uint64_t offset, std::span<std::uint8_t> to) {
        return offset <= file.size() &&
               file.copy(reinterpret_cast<char*>(to.data()), to.size(), offset) == to.size();
    });
    return Bytes(profile.begin(), profile.end());
}

// A profile in two chunks, found whatever their order and past other segments, fill bytes and
// restart markers; chunks missing, repeated, miscounted, numbered 0, after the scan or cut
// short, a profile shorter than its header says and files that are no JPEG give none.
TEST(EmbeddedProfile, JoinsTheChunksOfAJpegProfileAndRefusesDamagedOnes) {
    const Bytes profile = Profile("RGB ", "Wide RGB");
    const Bytes first = profile.substr(0, 100), second = profile.substr(100);
    const Bytes start = "\xFF\xD8", scan{'\xFF', '\xDA', 0, 2}, fill = "\xFF", restart = "\xFF\xD0";
    const Bytes whole = start + Chunk(profile, 1, 1);
    const std::pair<Bytes, bool> cases[] = {
        {start + "\xFF\xE0" + Bytes{0, 6} + "JFIF" + fill + Chunk(second, 2, 2) + restart +
             Chunk(first, 1, 2) + scan,
         true},
        {whole + scan, true},
        {start + Chunk(first, 1, 2) + scan, false},
        {start + Chunk(first, 1, 2) + Chunk(second, 1, 2) + Chunk(second, 2, 2) + scan, false},
        {start + Chunk(first, 1, 2) + Chunk(second, 2, 3) + scan, false},
        {start + Chunk(profile, 0, 1) + scan, false},
        {start + scan + Chunk(profile, 1, 1), false},
        {start + Chunk(profile.substr(0, profile.size() - 1), 1, 1) + scan, false},
        {whole.substr(0, whole.size() - 1), false},
        {"BM" + Chunk(profile, 1, 1), false}};
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        EXPECT_EQ(ProfileOf(cases[i].first), cases[i].second ? profile : Bytes()) << "case " << i;
    }
}

// RGB profiles, sRGB by their version 2 or version 4 description; grey ones are not RGB.
TEST(EmbeddedProfile, TellsRgbAndSrgbProfiles) {
    Bytes torn = Profile("RGB ", "sRGB IEC61966-2.1");
    torn[141] = 0x40; // the description's size runs past the end
    const std::pair<Bytes, std::pair<bool, bool>> cases[] = {
        {Profile("RGB ", "sRGB IEC61966-2.1"), {true, true}},
        {Profile("RGB ", "sRGB built-in", true), {true, true}},
        {Profile("RGB ", "Wide RGB"), {true, false}},
        {Profile("GRAY", "sRGB grey"), {false, false}},
        {torn, {true, false}},
        {Bytes(20, 0), {false, false}}};
    for (const auto& [profile, kind] : cases) {
        const ProfileKind found =
            KindOfProfile({reinterpret_cast<const std::uint8_t*>(profile.data()), profile.size()});
        EXPECT_EQ(std::pair(found.rgb, found.srgb), kind) << profile.size();
    }
}

} // namespace
