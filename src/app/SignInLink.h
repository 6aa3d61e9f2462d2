#pragma once

#include <juce_core/juce_core.h>

#include <optional>

/** The e-mail address and one-time code that a browser sign-in hands back
    through a "vamrhelper://email=<address>&code=<code>" link. */
struct SignInLink
{
    juce::String email;
    juce::String code;
};

/** Splits an already unescaped link. Anything that does not start with
    "vamrhelper://email=" (case-sensitive) gives nothing. The address ends at
    the first "&"; the code is whatever follows the first "&code=", and is
    empty when there is none. */
std::optional<SignInLink> parseSignInLink (const juce::String& decoded);

/** The whole path from a raw command line: percent escapes and "+" are
    removed first, then the link is split. */
std::optional<SignInLink> parseSignInCommandLine (const juce::String& commandLine);

/** The link in the command line of a process that the system started to
    open a "vamrhelper:" address, or nothing for any other command line.

    Windows passes the address as the registered command's quoted "%1", so
    the quotes come along in the command line; they are removed here. The
    scheme is recognised in any case and also when escaped as a whole, so
    that every link-started process hands its link to the running instance,
    which decides whether it can use it. */
std::optional<juce::String> signInLinkFromCommandLine (const juce::String& commandLine);
