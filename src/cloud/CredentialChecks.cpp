#include "cloud/CredentialChecks.h"

#include "cloud/ServiceConfig.h"

namespace CredentialChecks
{
    bool isEmailValid (const juce::String& email)
    {
        return email.isNotEmpty() && email.containsChar ('@') && email.containsChar ('.');
    }

    bool isPasswordValid (const juce::String& password)
    {
        return password.length() >= 4;
    }

    bool endsWithStaffDomain (const juce::String& email)
    {
        return email.endsWithIgnoreCase ("@" + ServiceConfig::staffMailDomain());
    }

    bool isStaffAddress (const juce::String& email)
    {
        return isEmailValid (email) && endsWithStaffDomain (email);
    }
}
