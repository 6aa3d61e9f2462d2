#include "demoservice/SmallFiles.h"

#include <algorithm>
#include <array>
#include <cstdio>

namespace demoservice
{
namespace
{
    std::uint32_t crc32 (const std::uint8_t* data, std::size_t size, std::uint32_t crc = 0)
    {
        static const auto table = []
        {
            std::array<std::uint32_t, 256> t {};
            for (std::uint32_t n = 0; n < 256; ++n)
            {
                auto c = n;
                for (int k = 0; k < 8; ++k)
                    c = (c & 1) ? 0xedb88320u ^ (c >> 1) : c >> 1;
                t[n] = c;
            }
            return t;
        }();

        crc = ~crc;
        for (std::size_t i = 0; i < size; ++i)
            crc = table[(crc ^ data[i]) & 0xff] ^ (crc >> 8);
        return ~crc;
    }

    void putBig32 (std::vector<std::uint8_t>& out, std::uint32_t v)
    {
        out.push_back (static_cast<std::uint8_t> (v >> 24));
        out.push_back (static_cast<std::uint8_t> (v >> 16));
        out.push_back (static_cast<std::uint8_t> (v >> 8));
        out.push_back (static_cast<std::uint8_t> (v));
    }

    void chunk (std::vector<std::uint8_t>& png, const char* type, const std::vector<std::uint8_t>& data)
    {
        putBig32 (png, static_cast<std::uint32_t> (data.size()));
        std::vector<std::uint8_t> typed (type, type + 4);
        typed.insert (typed.end(), data.begin(), data.end());
        png.insert (png.end(), typed.begin(), typed.end());
        putBig32 (png, crc32 (typed.data(), typed.size()));
    }

    /** zlib stream made of stored (uncompressed) deflate blocks. */
    std::vector<std::uint8_t> zlibStored (const std::vector<std::uint8_t>& raw)
    {
        std::vector<std::uint8_t> out { 0x78, 0x01 };
        std::size_t pos = 0;

        do
        {
            const auto len = static_cast<std::uint16_t> (std::min<std::size_t> (65535, raw.size() - pos));
            const bool last = pos + len == raw.size();
            out.push_back (last ? 1 : 0);
            out.push_back (static_cast<std::uint8_t> (len));
            out.push_back (static_cast<std::uint8_t> (len >> 8));
            out.push_back (static_cast<std::uint8_t> (~len));
            out.push_back (static_cast<std::uint8_t> (static_cast<std::uint16_t> (~len) >> 8));
            out.insert (out.end(), raw.begin() + static_cast<std::ptrdiff_t> (pos),
                        raw.begin() + static_cast<std::ptrdiff_t> (pos + len));
            pos += len;
        }
        while (pos < raw.size());

        std::uint32_t a = 1, b = 0;
        for (auto byte : raw)
        {
            a = (a + byte) % 65521;
            b = (b + a) % 65521;
        }
        putBig32 (out, (b << 16) | a);
        return out;
    }
}

std::vector<std::uint8_t> buildPng (int width, int height, std::uint32_t fromRgb, std::uint32_t toRgb)
{
    std::vector<std::uint8_t> raw;
    raw.reserve (static_cast<std::size_t> ((width * 3 + 1) * height));

    const auto mix = [] (std::uint32_t from, std::uint32_t to, int shift, double t)
    {
        const auto f = static_cast<double> ((from >> shift) & 0xff);
        const auto g = static_cast<double> ((to >> shift) & 0xff);
        return static_cast<std::uint8_t> (f + (g - f) * t + 0.5);
    };

    for (int y = 0; y < height; ++y)
    {
        raw.push_back (0); // filter: none
        for (int x = 0; x < width; ++x)
        {
            const double t = (width + height > 2) ? double (x + y) / double (width + height - 2) : 0.0;
            raw.push_back (mix (fromRgb, toRgb, 16, t));
            raw.push_back (mix (fromRgb, toRgb, 8, t));
            raw.push_back (mix (fromRgb, toRgb, 0, t));
        }
    }

    std::vector<std::uint8_t> png { 0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n' };

    std::vector<std::uint8_t> header;
    putBig32 (header, static_cast<std::uint32_t> (width));
    putBig32 (header, static_cast<std::uint32_t> (height));
    header.insert (header.end(), { 8, 2, 0, 0, 0 }); // 8 bits, RGB, deflate, adaptive filters, no interlace
    chunk (png, "IHDR", header);
    chunk (png, "IDAT", zlibStored (raw));
    chunk (png, "IEND", {});
    return png;
}

std::string buildPdf (const std::string& title, const std::vector<std::string>& lines)
{
    const auto escape = [] (const std::string& text)
    {
        std::string out;
        for (auto c : text)
        {
            if (static_cast<unsigned char> (c) >= 0x80 || c < 0x20) out += '?';
            else if (c == '(' || c == ')' || c == '\\') { out += '\\'; out += c; }
            else out += c;
        }
        return out;
    };

    std::string content = "BT\n/F1 20 Tf\n72 760 Td\n(" + escape (title) + ") Tj\n/F1 11 Tf\n0 -30 Td\n";
    for (const auto& line : lines)
        content += "(" + escape (line) + ") Tj\n0 -15 Td\n";
    content += "ET\n";

    const std::vector<std::string> objects {
        "<< /Type /Catalog /Pages 2 0 R >>",
        "<< /Type /Pages /Kids [3 0 R] /Count 1 >>",
        "<< /Type /Page /Parent 2 0 R /MediaBox [0 0 612 792] /Contents 4 0 R /Resources << /Font << /F1 5 0 R >> >> >>",
        "<< /Length " + std::to_string (content.size()) + " >>\nstream\n" + content + "endstream",
        "<< /Type /Font /Subtype /Type1 /BaseFont /Helvetica >>",
        "<< /Title (" + escape (title) + ") /Producer (Vamrelund demo service) >>"
    };

    std::string pdf = "%PDF-1.4\n%\xe2\xe3\xcf\xd3\n";
    std::vector<std::size_t> offsets;

    for (std::size_t i = 0; i < objects.size(); ++i)
    {
        offsets.push_back (pdf.size());
        pdf += std::to_string (i + 1) + " 0 obj\n" + objects[i] + "\nendobj\n";
    }

    const auto xref = pdf.size();
    pdf += "xref\n0 " + std::to_string (objects.size() + 1) + "\n0000000000 65535 f \n";
    for (auto offset : offsets)
    {
        char entry[32];
        std::snprintf (entry, sizeof (entry), "%010zu 00000 n \n", offset);
        pdf += entry;
    }

    pdf += "trailer\n<< /Size " + std::to_string (objects.size() + 1) + " /Root 1 0 R /Info 6 0 R >>\n";
    pdf += "startxref\n" + std::to_string (xref) + "\n%%EOF\n";
    return pdf;
}

std::vector<std::uint8_t> pseudoRandomBytes (std::size_t count, std::uint64_t seed)
{
    std::vector<std::uint8_t> out (count);
    auto state = seed ? seed : 0x9e3779b97f4a7c15ull;

    for (std::size_t i = 0; i < count; i += 8)
    {
        // xorshift64*
        state ^= state >> 12;
        state ^= state << 25;
        state ^= state >> 27;
        const auto value = state * 0x2545f4914f6cdd1dull;
        for (std::size_t k = 0; k < 8 && i + k < count; ++k)
            out[i + k] = static_cast<std::uint8_t> (value >> (8 * k));
    }

    return out;
}
}
