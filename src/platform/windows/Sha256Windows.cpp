#include "platform/Sha256.h"

#include <windows.h>
#include <bcrypt.h>

#include <vector>

struct Sha256::Impl
{
    BCRYPT_ALG_HANDLE algorithm = nullptr;
    BCRYPT_HASH_HANDLE hash = nullptr;
    std::vector<UCHAR> hashObject;   // the hash's state lives in memory we hand it

    Impl()
    {
        if (! BCRYPT_SUCCESS (BCryptOpenAlgorithmProvider (&algorithm, BCRYPT_SHA256_ALGORITHM, nullptr, 0)))
        {
            algorithm = nullptr;
            return;
        }

        DWORD objectLength = 0;
        ULONG written = 0;

        if (BCRYPT_SUCCESS (BCryptGetProperty (algorithm, BCRYPT_OBJECT_LENGTH, (PUCHAR) &objectLength,
                                               sizeof (objectLength), &written, 0)))
            hashObject.resize (objectLength);
    }

    ~Impl()
    {
        closeHash();

        if (algorithm != nullptr)
            BCryptCloseAlgorithmProvider (algorithm, 0);
    }

    void closeHash()
    {
        if (hash != nullptr)
            BCryptDestroyHash (hash);

        hash = nullptr;
    }
};

Sha256::Sha256() : impl (std::make_unique<Impl>())
{
    reset();
}

Sha256::~Sha256() = default;

bool Sha256::systemStart()
{
    impl->closeHash();

    if (impl->algorithm == nullptr || impl->hashObject.empty())
        return false;

    if (! BCRYPT_SUCCESS (BCryptCreateHash (impl->algorithm, &impl->hash, impl->hashObject.data(),
                                            (ULONG) impl->hashObject.size(), nullptr, 0, 0)))
    {
        impl->hash = nullptr;
        return false;
    }

    return true;
}

bool Sha256::systemUpdate (const void* data, size_t size)
{
    if (impl->hash == nullptr)
        return false;

    // BCrypt takes a ULONG length: larger pieces go in several calls.
    auto* bytes = static_cast<PUCHAR> (const_cast<void*> (data));

    while (size > 0)
    {
        const auto piece = (ULONG) juce::jmin (size, (size_t) 0x40000000);

        if (! BCRYPT_SUCCESS (BCryptHashData (impl->hash, bytes, piece, 0)))
            return false;

        bytes += piece;
        size -= piece;
    }

    return true;
}

bool Sha256::systemFinish (juce::uint8 (&digest)[32])
{
    if (impl->hash == nullptr)
        return false;

    const auto ok = BCRYPT_SUCCESS (BCryptFinishHash (impl->hash, digest, sizeof (digest), 0));
    impl->closeHash();   // a finished hash cannot take more bytes
    return ok;
}
