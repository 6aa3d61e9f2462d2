#include "cloud/DownloadLocations.h"

#include "log/DiagnosticLog.h"
#include "cloud/ServiceConfig.h"
#include "cloud/RequestEngine.h"

namespace VRCloud
{
    juce::String jsonString (const juce::String& value)
    {
        juce::String out ("\"");

        for (auto p = value.getCharPointer(); ! p.isEmpty();)
        {
            const auto c = p.getAndAdvance();

            switch (c)
            {
                case '"':   out << "\\\""; break;
                case '\\':  out << "\\\\"; break;
                case '\n':  out << "\\n"; break;
                case '\r':  out << "\\r"; break;
                case '\t':  out << "\\t"; break;
                default:
                    if (c < 0x20)
                        out << "\\u" << juce::String::toHexString ((int) c).paddedLeft ('0', 4);
                    else
                        out << juce::String::charToString (c);
            }
        }

        return out + "\"";
    }

    namespace
    {
        // The build travels as a JSON number; anything else would break the
        // body, so a build that is not a plain number is sent as a string.
        juce::String jsonBuild (const juce::String& build)
        {
            return build.containsOnly ("0123456789") ? build : jsonString (build);
        }

        juce::String answerURL (const VamretResponse& answer)
        {
            return answer.status == 200 ? answer.json.getProperty ("url", juce::var()).toString() : juce::String();
        }

        /** POSTs `body` to "/vds/<call>" and returns the "url" of a 200 answer, "" otherwise. */
        juce::String askForURL (const juce::String& call, const juce::String& name, const juce::String& body,
                                const juce::String& token)
        {
            writeLog (call + " " + name);
            const auto url = juce::URL (apiBaseURL() + "/vds/" + call).withPOSTData (body);
            writeLog ("     " + call + " json: " + body);
            return answerURL (performRequest (url, RequestEngine::Method::post, RequestEngine::BodyKind::json,
                                              RequestEngine::timeoutMs, token));
        }
    }

    juce::String pluginResourceBody (const juce::String& name, const juce::String& version,
                                     const juce::String& build, bool anyPlatform)
    {
        const auto platform = anyPlatform ? juce::String ("macOS/Windows") : RequestEngine::platformName();

        juce::String body;
        body << "{\n\"name\": " << jsonString (name) << ",\n"
             << "\"platform\": " << jsonString (platform)
             << ",\n"
             << "\"version\": " << jsonString (version);

        if (build.isNotEmpty())
            body << ",\n\"build\": " << jsonBuild (build);

        return body + "\n}";
    }

    juce::String manualResourceBody (const juce::String& name)
    {
        return "{\n\"name\": " + jsonString (name) + "\n}";
    }

    juce::String getPluginResourceURL (const juce::String& name, const juce::String& token,
                                       const juce::String& version, const juce::String& build,
                                       bool anyPlatform)
    {
        return askForURL ("getPluginResourceURL", name, pluginResourceBody (name, version, build, anyPlatform), token);
    }

    juce::String getManualResourceURL (const juce::String& name, const juce::String& token)
    {
        return askForURL ("getManualResourceURL", name, manualResourceBody (name), token);
    }

    bool getLatestInternalVDSInfo (const juce::String& token, juce::String& url,
                                   juce::String& version, juce::String& build)
    {
        writeLog ("getLatestInternalVDSInfo");
        const auto answer = performRequest (juce::URL (apiBaseURL() + "/vds/getLatestInternalVDS"),
                                            RequestEngine::Method::get, RequestEngine::BodyKind::json,
                                            RequestEngine::timeoutMs, token);

        if (answer.status != 200)
            return false;

        url = answer.json.getProperty ("url", juce::var()).toString();
        version = answer.json.getProperty ("version", juce::var()).toString();
        build = answer.json.getProperty ("build", juce::var()).toString();
        return true;
    }
}
