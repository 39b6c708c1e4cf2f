// Writes a small uncompressed (24-bit RGB) video file for the playback
// tests: frames of one flat colour each, so that any frame can be told by
// its first pixel.
#pragma once

#include <cstdint>
#include <fstream>
#include <string>
#include <vector>

namespace kv::test {

struct AviFormat {
    std::int32_t width = 64;
    std::int32_t height = 48;
    std::uint32_t frames = 20;
    std::uint32_t framesPerSecond = 10;
};

inline void PutU32(std::string& out, std::uint32_t value) {
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
}
inline void PutU16(std::string& out, std::uint16_t value) {
    out.push_back(static_cast<char>(value & 0xFF));
    out.push_back(static_cast<char>(value >> 8));
}
inline std::string Chunk(const char* id, const std::string& body) {
    std::string out(id, 4);
    PutU32(out, static_cast<std::uint32_t>(body.size()));
    out += body;
    if (body.size() % 2) out.push_back('\0');
    return out;
}
inline std::string List(const char* type, const std::string& body) {
    return Chunk("LIST", std::string(type, 4) + body);
}

// The blue value of frame n's pixels.
inline std::uint8_t AviFrameBlue(std::uint32_t frame) { return static_cast<std::uint8_t>(10 * frame + 5); }

inline bool WriteAvi(const std::string& path, const AviFormat& movie) {
    const std::uint32_t frameBytes = static_cast<std::uint32_t>(movie.width * movie.height * 3);
    std::string avih;
    for (std::uint32_t v : {1000000u / movie.framesPerSecond, frameBytes * movie.framesPerSecond, 0u, 0x10u,
                            movie.frames, 0u, 1u, frameBytes, static_cast<std::uint32_t>(movie.width),
                            static_cast<std::uint32_t>(movie.height), 0u, 0u, 0u, 0u})
        PutU32(avih, v);
    std::string strh = "vidsDIB ";
    for (std::uint32_t v : {0u, 0u, 0u, 1u, movie.framesPerSecond, 0u, movie.frames, frameBytes, 0xFFFFFFFFu, 0u})
        PutU32(strh, v);
    for (std::uint16_t v : {std::uint16_t{0}, std::uint16_t{0}, static_cast<std::uint16_t>(movie.width),
                            static_cast<std::uint16_t>(movie.height)})
        PutU16(strh, v);
    std::string strf;
    for (std::uint32_t v : {40u, static_cast<std::uint32_t>(movie.width), static_cast<std::uint32_t>(movie.height)})
        PutU32(strf, v);
    PutU16(strf, 1);
    PutU16(strf, 24);
    for (std::uint32_t v : {0u, frameBytes, 0u, 0u, 0u, 0u}) PutU32(strf, v);

    std::string movi;
    std::string index;
    for (std::uint32_t n = 0; n < movie.frames; ++n) {
        std::string pixels(frameBytes, '\0');
        for (std::uint32_t i = 0; i < frameBytes; i += 3) {
            pixels[i] = static_cast<char>(AviFrameBlue(n));
            pixels[i + 1] = static_cast<char>(n);
            pixels[i + 2] = static_cast<char>(200);
        }
        index += "00db";
        PutU32(index, 0x10);  // key frame
        PutU32(index, static_cast<std::uint32_t>(4 + movi.size()));
        PutU32(index, frameBytes);
        movi += Chunk("00db", pixels);
    }
    const std::string hdrl =
        List("hdrl", Chunk("avih", avih) + List("strl", Chunk("strh", strh) + Chunk("strf", strf)));
    const std::string body = "AVI " + hdrl + List("movi", movi) + Chunk("idx1", index);
    std::ofstream out(path, std::ios::binary);
    out << Chunk("RIFF", body);
    return static_cast<bool>(out);
}

}  // namespace kv::test
