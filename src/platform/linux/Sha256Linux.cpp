#include "platform/Sha256.h"

#include <openssl/evp.h>

struct Sha256::Impl
{
    EVP_MD_CTX* context = EVP_MD_CTX_new();
    ~Impl() { EVP_MD_CTX_free (context); }
};

Sha256::Sha256() : impl (std::make_unique<Impl>())
{
    reset();
}

Sha256::~Sha256() = default;

bool Sha256::systemStart()
{
    return impl->context != nullptr && EVP_DigestInit_ex (impl->context, EVP_sha256(), nullptr) == 1;
}

bool Sha256::systemUpdate (const void* data, size_t size)
{
    return impl->context != nullptr && EVP_DigestUpdate (impl->context, data, size) == 1;
}

bool Sha256::systemFinish (juce::uint8 (&digest)[32])
{
    unsigned int length = 0;
    return impl->context != nullptr && EVP_DigestFinal_ex (impl->context, digest, &length) == 1 && length == 32;
}
