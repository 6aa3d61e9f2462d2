#include "demoservice/Manifest.h"

#include <fstream>
#include <sstream>

namespace demoservice
{
namespace
{
    /** Keeps file names plain: letters, digits, dot, dash and underscore. */
    std::string fileSafe (const std::string& text)
    {
        std::string out;
        for (auto c : text)
        {
            const bool plain = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9')
                            || c == '.' || c == '-' || c == '_';
            out += plain ? c : '_';
        }
        return out;
    }

    std::string stringMember (const nlohmann::json& object, const char* key)
    {
        const auto it = object.find (key);
        return it == object.end() ? std::string() : jsonText (*it);
    }
}

std::string jsonText (const nlohmann::json& value)
{
    if (value.is_string())
        return value.get<std::string>();
    if (value.is_null())
        return {};
    return value.dump();
}

std::string ManifestProduct::archiveFileName (const ProductBuild& b) const
{
    return fileSafe (name + "-" + b.version + "-" + b.build) + ".zip";
}

std::string ManifestProduct::manualFileName() const   { return fileSafe (name) + ".pdf"; }
std::string ManifestProduct::iconFileName() const     { return fileSafe (name) + "-icon.png"; }
std::string ManifestProduct::pictureFileName() const  { return fileSafe (name) + "-picture.png"; }

const ManifestProduct* Manifest::findByName (const std::string& wanted) const
{
    for (const auto& product : products)
        if (product.name == wanted)
            return &product;

    return nullptr;
}

std::optional<Manifest> loadManifest (const std::filesystem::path& file, std::string& error)
{
    std::ifstream in (file, std::ios::binary);
    if (! in)
    {
        error = "cannot read " + file.string();
        return std::nullopt;
    }

    std::stringstream text;
    text << in.rdbuf();

    const auto root = nlohmann::json::parse (text.str(), nullptr, false);
    if (root.is_discarded() || ! root.is_object())
    {
        error = file.string() + " is not a JSON object";
        return std::nullopt;
    }

    Manifest manifest;
    manifest.staffDomain = root.value ("staff_domain", "vamrelund.com");

    for (const auto& account : root.value ("accounts", nlohmann::json::array()))
        manifest.accounts.push_back ({ stringMember (account, "email"), stringMember (account, "password") });

    const auto app = root.value ("app", nlohmann::json::object());
    manifest.app = { stringMember (app, "version"), stringMember (app, "build") };

    for (const auto& entry : root.value ("products", nlohmann::json::array()))
    {
        if (! entry.is_object())
        {
            error = "a product is not an object";
            return std::nullopt;
        }

        ManifestProduct product;
        product.members = entry;
        product.members.erase ("demo");
        product.name = stringMember (entry, "name");
        product.title = stringMember (entry, "title");
        product.localKeyName = stringMember (entry, "local_key_name");
        product.expansion = stringMember (entry, "category") == "extension";
        product.hasManual = entry.value ("has_manual", false);

        for (const auto& item : entry.value ("contents", nlohmann::json::array()))
            product.contents.push_back (jsonText (item));

        const auto demo = entry.value ("demo", nlohmann::json::object());
        product.staffOnly = demo.value ("audience", "everyone") == "staff";
        product.pictures = demo.value ("pictures", true);
        product.wrongSha256 = demo.value ("wrong_sha256", false);
        product.requestName = demo.contains ("request_name") ? stringMember (demo, "request_name")
                            : product.expansion ? product.name : product.localKeyName;

        product.builds.push_back ({ stringMember (entry, "version"), stringMember (entry, "build") });
        for (const auto& previous : demo.value ("previous", nlohmann::json::array()))
            product.builds.push_back ({ stringMember (previous, "version"), stringMember (previous, "build") });

        const auto payload = demo.value ("payload", nlohmann::json::object());
        for (const auto& item : payload.items())
            product.payloadSizes[item.key()] = item.value().is_number_unsigned() ? item.value().get<std::uint64_t>() : 0;

        if (product.name.empty() || manifest.findByName (product.name) != nullptr)
        {
            error = "product names must be present and unique: \"" + product.name + "\"";
            return std::nullopt;
        }

        manifest.products.push_back (std::move (product));
    }

    return manifest;
}
}
