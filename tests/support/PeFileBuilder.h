#pragma once

#include <juce_core/juce_core.h>

#include <array>
#include <cstdint>
#include <string>
#include <vector>

/** Writes small PE DLL images (PE32+ by default) for tests and benchmarks,
    so no Windows compiler is needed: a .text section and, when asked, a
    .rsrc section holding one RT_VERSION resource (VS_VERSIONINFO with its
    VS_FIXEDFILEINFO, a StringFileInfo and a VarFileInfo). */
struct PeFileOptions
{
    std::array<std::uint16_t, 4> fileVersion { 1, 2, 3, 4 };
    bool withVersionResource = true;
    bool pe32 = false;                  // a 32-bit image instead of PE32+
    std::string stringFileVersion;      // the "FileVersion" string; empty: the fixed version as text
    std::uint32_t codeSize = 16;        // bytes of .text before the resources
    std::uint16_t language = 0x0409;
};

/** Where the pieces of a built image sit, as file offsets, so a test can
    damage exactly one of them. */
struct PeFileLayout
{
    std::size_t peHeader = 0;              // "PE\0\0"
    std::size_t optionalHeader = 0;
    std::size_t resourceDirectoryEntry = 0; // the data directory slot: RVA, size
    std::size_t sectionTable = 0;
    std::size_t resourceSection = 0;       // raw data of .rsrc (the type directory)
    std::size_t nameDirectory = 0;
    std::size_t languageDirectory = 0;
    std::size_t dataEntry = 0;
    std::size_t versionBlock = 0;          // VS_VERSIONINFO
    std::size_t fixedFileInfo = 0;         // VS_FIXEDFILEINFO
    std::uint32_t resourceRva = 0;
    std::size_t fileSize = 0;
};

std::vector<std::uint8_t> buildPeFile (const PeFileOptions& options, PeFileLayout* layout = nullptr);

/** Builds the image and writes it, creating the parent folders. */
bool writePeFile (const juce::File& file, const PeFileOptions& options);

/** Writes raw bytes to a file, creating the parent folders. */
bool writeBytes (const juce::File& file, const std::vector<std::uint8_t>& bytes);

/** Little-endian stores for damaging images in place. */
void storeLe16 (std::vector<std::uint8_t>& bytes, std::size_t offset, std::uint16_t value);
void storeLe32 (std::vector<std::uint8_t>& bytes, std::size_t offset, std::uint32_t value);
