#include "support/PeFiles.h"

PeImageRecipe testDll (pewriter::VersionQuad version, const std::string& fileVersionText)
{
    PeImageRecipe recipe;
    recipe.fileVersion = version;
    recipe.productVersion = version;

    const auto text = fileVersionText.empty() ? pewriter::versionText (version) : fileVersionText;
    recipe.strings = { { "CompanyName", "Vamrelund" }, { "FileVersion", text }, { "ProductVersion", text } };
    return recipe;
}

bool writeBytes (const juce::File& file, const std::vector<std::uint8_t>& bytes)
{
    return file.getParentDirectory().createDirectory()
        && file.replaceWithData (bytes.data(), bytes.size());
}

bool writePeFile (const juce::File& file, const PeImageRecipe& recipe)
{
    return writeBytes (file, pewriter::buildPeImage (recipe));
}
