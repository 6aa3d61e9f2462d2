#pragma once

#include "demoservice/DemoService.h"

#include <httplib.h>
#include <juce_core/juce_core.h>
#include <gtest/gtest.h>

/** A demo service on a free loopback port for each test, and a few helpers
    that talk real HTTP to it. */
class DemoServiceTest : public ::testing::Test
{
protected:
    void SetUp() override;
    void TearDown() override;

    httplib::Client client (int readTimeoutSeconds = 10) const;

    httplib::Result postJson (const std::string& path, const std::string& body, const std::string& token = {}) const;
    httplib::Result getWithToken (const std::string& path, const std::string& token) const;

    /** "/vds/auth" with the given credentials; the token, or empty. */
    std::string signIn (const std::string& email, const std::string& password) const;
    std::string signInAsCustomer() const;
    std::string signInAsStaff() const;

    /** The path part of one of the service's own addresses. */
    std::string pathOf (const std::string& url) const;

    static juce::var parseJson (const std::string& body);
    static std::string fileBytes (const std::filesystem::path& file);

    demoservice::DemoService service;
};
