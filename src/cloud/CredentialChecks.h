#pragma once

#include <juce_core/juce_core.h>

/** The local checks of an e-mail address and a password, made before
    anything is sent. The login page uses them for its red outlines; the
    sign-in request code can share them for its own pre-check. */
namespace CredentialChecks
{
    /** Not empty, contains "@" and contains "." (anywhere, in any order). */
    bool isEmailValid (const juce::String& email);

    /** At least 4 characters (characters, not bytes). */
    bool isPasswordValid (const juce::String& password);

    /** The address ends, ignoring case, with "@" and the maker's staff domain. */
    bool endsWithStaffDomain (const juce::String& email);

    /** A valid address of the staff domain: the login page then offers the
        developer options. */
    bool isStaffAddress (const juce::String& email);
}
