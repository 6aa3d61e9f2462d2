#pragma once

#include <nlohmann/json.hpp>

#include <cstdint>
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace demoservice
{
    /** One build of a product: its version text and build number (as text). */
    struct ProductBuild
    {
        std::string version;
        std::string build;
    };

    /** One product of the manifest: the members the catalogue serves, plus
        what the service and the data generator need behind them. */
    struct ManifestProduct
    {
        nlohmann::json members;          // catalogue members as written, without "demo"
        std::string name;
        std::string title;
        std::string localKeyName;
        std::string requestName;         // name of its download-location request
        bool staffOnly = false;
        bool pictures = true;
        bool expansion = false;
        bool hasManual = false;
        bool wrongSha256 = false;          // its catalogue "sha256" does not match its archive
        std::vector<std::string> contents;
        std::vector<ProductBuild> builds;   // [0] is the one the catalogue offers first
        std::map<std::string, std::uint64_t> payloadSizes;

        /** File names below the data folder's "archives", "manuals" and "pictures". */
        std::string archiveFileName (const ProductBuild& build) const;
        std::string manualFileName() const;
        std::string iconFileName() const;
        std::string pictureFileName() const;
    };

    struct ManifestAccount
    {
        std::string email;
        std::string password;
    };

    struct Manifest
    {
        std::string staffDomain;
        std::vector<ManifestAccount> accounts;
        ProductBuild app;
        std::vector<ManifestProduct> products;

        const ManifestProduct* findByName (const std::string& name) const;
    };

    /** Reads the manifest; nothing and a message in error when it cannot be used. */
    std::optional<Manifest> loadManifest (const std::filesystem::path& file, std::string& error);

    /** A JSON value as catalogue text: strings as they are, numbers in decimal. */
    std::string jsonText (const nlohmann::json& value);
}
