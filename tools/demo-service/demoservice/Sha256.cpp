#include "demoservice/Sha256.h"

#include <algorithm>
#include <array>
#include <fstream>
#include <vector>

namespace demoservice
{
namespace
{
    constexpr std::array<std::uint32_t, 64> roundConstants {
        0x428a2f98, 0x71374491, 0xb5c0fbcf, 0xe9b5dba5, 0x3956c25b, 0x59f111f1, 0x923f82a4, 0xab1c5ed5,
        0xd807aa98, 0x12835b01, 0x243185be, 0x550c7dc3, 0x72be5d74, 0x80deb1fe, 0x9bdc06a7, 0xc19bf174,
        0xe49b69c1, 0xefbe4786, 0x0fc19dc6, 0x240ca1cc, 0x2de92c6f, 0x4a7484aa, 0x5cb0a9dc, 0x76f988da,
        0x983e5152, 0xa831c66d, 0xb00327c8, 0xbf597fc7, 0xc6e00bf3, 0xd5a79147, 0x06ca6351, 0x14292967,
        0x27b70a85, 0x2e1b2138, 0x4d2c6dfc, 0x53380d13, 0x650a7354, 0x766a0abb, 0x81c2c92e, 0x92722c85,
        0xa2bfe8a1, 0xa81a664b, 0xc24b8b70, 0xc76c51a3, 0xd192e819, 0xd6990624, 0xf40e3585, 0x106aa070,
        0x19a4c116, 0x1e376c08, 0x2748774c, 0x34b0bcb5, 0x391c0cb3, 0x4ed8aa4a, 0x5b9cca4f, 0x682e6ff3,
        0x748f82ee, 0x78a5636f, 0x84c87814, 0x8cc70208, 0x90befffa, 0xa4506ceb, 0xbef9a3f7, 0xc67178f2 };

    std::uint32_t rotateRight (std::uint32_t value, int bits) { return (value >> bits) | (value << (32 - bits)); }

    /** The running state of one digest, fed in any number of pieces. */
    class Sha256
    {
    public:
        void add (const std::uint8_t* data, std::size_t size)
        {
            length += size;

            while (size > 0)
            {
                const auto take = std::min (size, block.size() - filled);
                std::copy (data, data + take, block.begin() + static_cast<std::ptrdiff_t> (filled));
                filled += take;
                data += take;
                size -= take;

                if (filled == block.size())
                {
                    compress();
                    filled = 0;
                }
            }
        }

        std::string finishHex()
        {
            const auto bits = static_cast<std::uint64_t> (length) * 8;
            const std::uint8_t one = 0x80, zero = 0;
            add (&one, 1);

            while (filled != 56)
                add (&zero, 1);

            std::uint8_t lengthBytes[8];
            for (int i = 0; i < 8; ++i)
                lengthBytes[i] = static_cast<std::uint8_t> (bits >> (56 - 8 * i));
            add (lengthBytes, 8);

            static const char* digits = "0123456789abcdef";
            std::string hex;

            for (auto word : state)
                for (int shift = 28; shift >= 0; shift -= 4)
                    hex += digits[(word >> shift) & 0xf];

            return hex;
        }

    private:
        void compress()
        {
            std::uint32_t w[64];

            for (int i = 0; i < 16; ++i)
                w[i] = (std::uint32_t (block[4 * i]) << 24) | (std::uint32_t (block[4 * i + 1]) << 16)
                     | (std::uint32_t (block[4 * i + 2]) << 8) | std::uint32_t (block[4 * i + 3]);

            for (int i = 16; i < 64; ++i)
            {
                const auto s0 = rotateRight (w[i - 15], 7) ^ rotateRight (w[i - 15], 18) ^ (w[i - 15] >> 3);
                const auto s1 = rotateRight (w[i - 2], 17) ^ rotateRight (w[i - 2], 19) ^ (w[i - 2] >> 10);
                w[i] = w[i - 16] + s0 + w[i - 7] + s1;
            }

            auto a = state[0], b = state[1], c = state[2], d = state[3];
            auto e = state[4], f = state[5], g = state[6], h = state[7];

            for (int i = 0; i < 64; ++i)
            {
                const auto s1 = rotateRight (e, 6) ^ rotateRight (e, 11) ^ rotateRight (e, 25);
                const auto choose = (e & f) ^ (~e & g);
                const auto t1 = h + s1 + choose + roundConstants[static_cast<std::size_t> (i)] + w[i];
                const auto s0 = rotateRight (a, 2) ^ rotateRight (a, 13) ^ rotateRight (a, 22);
                const auto majority = (a & b) ^ (a & c) ^ (b & c);
                const auto t2 = s0 + majority;

                h = g; g = f; f = e; e = d + t1;
                d = c; c = b; b = a; a = t1 + t2;
            }

            state[0] += a; state[1] += b; state[2] += c; state[3] += d;
            state[4] += e; state[5] += f; state[6] += g; state[7] += h;
        }

        std::array<std::uint32_t, 8> state { 0x6a09e667, 0xbb67ae85, 0x3c6ef372, 0xa54ff53a,
                                             0x510e527f, 0x9b05688c, 0x1f83d9ab, 0x5be0cd19 };
        std::array<std::uint8_t, 64> block {};
        std::size_t filled = 0;
        std::uint64_t length = 0;
    };
}

std::string sha256Hex (const void* data, std::size_t size)
{
    Sha256 digest;
    digest.add (static_cast<const std::uint8_t*> (data), size);
    return digest.finishHex();
}

std::string sha256HexOfFile (const std::filesystem::path& file)
{
    std::ifstream in (file, std::ios::binary);
    if (! in)
        return {};

    Sha256 digest;
    std::vector<char> buffer (1 << 16);

    while (in)
    {
        in.read (buffer.data(), static_cast<std::streamsize> (buffer.size()));
        const auto got = in.gcount();

        if (got > 0)
            digest.add (reinterpret_cast<const std::uint8_t*> (buffer.data()), static_cast<std::size_t> (got));
    }

    return in.bad() ? std::string() : digest.finishHex();
}

std::string mismatchedHex (const std::string& hex)
{
    static const std::string digits = "0123456789abcdef";
    std::string out;

    for (auto c : hex)
    {
        const auto at = digits.find (c);
        out += at == std::string::npos ? c : digits[15 - at];
    }

    return out;
}
}
