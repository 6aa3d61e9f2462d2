#include "demoservice/ControlApi.h"

#include <nlohmann/json.hpp>

#include <functional>
#include <map>

namespace demoservice
{
namespace
{
    using json = nlohmann::json;
    using Action = std::function<json (DemoService&, const json&)>;

    /** A field of the body, or the fallback when it is absent; a field of the
        wrong type throws json's type_error, which the caller answers with 400. */
    template <typename T>
    T field (const json& body, const char* name, T fallback = {})
    {
        const auto it = body.find (name);
        return it == body.end() || it->is_null() ? fallback : it->get<T>();
    }

    json credentials (const DemoService::Credentials& c)
    {
        return { { "email", c.email }, { "password", c.password } };
    }

    json recordedRequest (const RecordedRequest& r)
    {
        json headers = json::array();
        for (const auto& [name, value] : r.headers)
            headers.push_back ({ name, value });

        return { { "method", r.method }, { "path", r.path }, { "target", r.target },
                 { "headers", headers }, { "body", r.body }, { "status", r.status } };
    }

    json optionalText (const std::optional<std::string>& text)
    {
        return text ? json (*text) : json (nullptr);
    }

    std::chrono::milliseconds millis (const json& body, long long fallback)
    {
        return std::chrono::milliseconds (field<long long> (body, "ms", fallback));
    }

    int times (const json& body)        { return field<int> (body, "times", Faults::always); }
    std::string prefix (const json& body, const char* fallback = "") { return field<std::string> (body, "pathPrefix", fallback); }
    std::string product (const json& body) { return field<std::string> (body, "product"); }
    std::string email (const json& body)   { return field<std::string> (body, "email"); }

    const std::map<std::string, Action>& actions()
    {
        static const std::map<std::string, Action> table
        {
            { "info", [] (DemoService& s, const json&) -> json
              {
                  return { { "origin", s.origin() }, { "dataFolder", s.dataFolder().string() },
                           { "appVersion", s.appVersion() }, { "appBuild", s.appBuild() },
                           { "demoAccount", credentials (s.demoAccount()) },
                           { "staffAccount", credentials (s.staffAccount()) } };
              } },
            { "reset", [] (DemoService& s, const json&) -> json { s.reset(); return json::object(); } },
            { "requests", [] (DemoService& s, const json& b) -> json
              {
                  const auto path = b.find ("path");
                  const auto list = path == b.end() ? s.requests() : s.requestsTo (path->get<std::string>());
                  json out = json::array();
                  for (const auto& r : list)
                      out.push_back (recordedRequest (r));
                  return out;
              } },
            { "clearRequests", [] (DemoService& s, const json&) -> json { s.clearRequests(); return json::object(); } },
            { "offerBuild", [] (DemoService& s, const json& b) -> json
              {
                  return { { "ok", s.offerBuild (product (b), field<std::string> (b, "version"), field<std::string> (b, "build")) } };
              } },
            { "contentsOf", [] (DemoService& s, const json& b) -> json { return s.contentsOf (product (b)); } },
            { "catalogueJson", [] (DemoService& s, const json& b) -> json { return { { "catalogue", s.catalogueJson (email (b)) } }; } },
            { "archiveFile", [] (DemoService& s, const json& b) -> json { return { { "path", s.archiveFile (product (b)).string() } }; } },
            { "manualFile", [] (DemoService& s, const json& b) -> json { return { { "path", s.manualFile (product (b)).string() } }; } },
            { "appArchiveFile", [] (DemoService& s, const json&) -> json { return { { "path", s.appArchiveFile().string() } }; } },
            { "serveExtraFolder", [] (DemoService& s, const json& b) -> json
              {
                  s.serveExtraFolder (field<std::string> (b, "path"));
                  return json::object();
              } },

            { "faults/setLatency", [] (DemoService& s, const json& b) -> json
              {
                  s.faults().setLatency (millis (b, 0), prefix (b));
                  return json::object();
              } },
            { "faults/stallAfterBytes", [] (DemoService& s, const json& b) -> json
              {
                  s.faults().stallAfterBytes (field<std::uint64_t> (b, "bytes"), millis (b, Faults::untilCleared.count()),
                                              prefix (b, "/files/"), times (b));
                  return json::object();
              } },
            { "faults/dropAfterBytes", [] (DemoService& s, const json& b) -> json
              {
                  s.faults().dropAfterBytes (field<std::uint64_t> (b, "bytes"), prefix (b, "/files/"), times (b));
                  return json::object();
              } },
            { "faults/setIgnoreRange", [] (DemoService& s, const json& b) -> json
              {
                  s.faults().setIgnoreRange (field<bool> (b, "ignore", true));
                  return json::object();
              } },
            { "faults/forceStatus", [] (DemoService& s, const json& b) -> json
              {
                  s.faults().forceStatus (prefix (b), field<int> (b, "status", 200), field<std::string> (b, "body"),
                                          field<std::string> (b, "contentType", "application/json"), times (b));
                  return json::object();
              } },
            { "faults/forceUnauthorized", [] (DemoService& s, const json& b) -> json
              {
                  s.faults().forceUnauthorized (prefix (b), times (b));
                  return json::object();
              } },
            { "faults/forceUpdateRequired", [] (DemoService& s, const json& b) -> json
              {
                  s.faults().forceUpdateRequired (prefix (b), field<std::string> (b, "url"), times (b));
                  return json::object();
              } },
            { "faults/forceServerError", [] (DemoService& s, const json& b) -> json
              {
                  s.faults().forceServerError (prefix (b), times (b));
                  return json::object();
              } },
            { "faults/forceNonJsonBody", [] (DemoService& s, const json& b) -> json
              {
                  s.faults().forceNonJsonBody (prefix (b), times (b));
                  return json::object();
              } },
            { "faults/clear", [] (DemoService& s, const json&) -> json { s.faults().clear(); return json::object(); } },

            { "accounts/add", [] (DemoService& s, const json& b) -> json
              {
                  return { { "ok", s.accounts().add (email (b), field<std::string> (b, "password")) } };
              } },
            { "accounts/list", [] (DemoService& s, const json&) -> json
              {
                  json out = json::array();
                  for (const auto& a : s.accounts().list())
                      out.push_back ({ { "email", a.email }, { "password", a.password }, { "staff", a.staff } });
                  return out;
              } },
            { "accounts/exists", [] (DemoService& s, const json& b) -> json { return { { "ok", s.accounts().exists (email (b)) } }; } },
            { "accounts/isStaff", [] (DemoService& s, const json& b) -> json { return { { "ok", s.accounts().isStaff (email (b)) } }; } },
            { "accounts/checkPassword", [] (DemoService& s, const json& b) -> json
              {
                  return { { "ok", s.accounts().checkPassword (email (b), field<std::string> (b, "password")) } };
              } },
            { "accounts/signIn", [] (DemoService& s, const json& b) -> json
              {
                  return { { "token", optionalText (s.accounts().signIn (email (b), field<std::string> (b, "password"))) } };
              } },
            { "accounts/issueSignInCode", [] (DemoService& s, const json& b) -> json { return { { "code", s.accounts().issueSignInCode (email (b)) } }; } },
            { "accounts/exchangeCode", [] (DemoService& s, const json& b) -> json
              {
                  return { { "token", optionalText (s.accounts().exchangeCode (email (b), field<std::string> (b, "code"))) } };
              } },
            { "accounts/issueToken", [] (DemoService& s, const json& b) -> json { return { { "token", s.accounts().issueToken (email (b)) } }; } },
            { "accounts/emailForToken", [] (DemoService& s, const json& b) -> json
              {
                  return { { "email", optionalText (s.accounts().emailForToken (field<std::string> (b, "token"))) } };
              } },
            { "accounts/revokeToken", [] (DemoService& s, const json& b) -> json
              {
                  s.accounts().revokeToken (field<std::string> (b, "token"));
                  return json::object();
              } },
            { "accounts/revokeAllTokens", [] (DemoService& s, const json&) -> json { s.accounts().revokeAllTokens(); return json::object(); } },
            { "accounts/setCodeLifetime", [] (DemoService& s, const json& b) -> json
              {
                  s.accounts().setCodeLifetime (std::chrono::seconds (field<long long> (b, "seconds", 600)));
                  return json::object();
              } },
        };

        return table;
    }

    DemoService::ControlAnswer answer (int status, const json& body)
    {
        return { status, body.dump(), "application/json" };
    }
}

DemoService::ControlAnswer answerControlRequest (DemoService& service, const std::string& path, const std::string& body)
{
    const std::string prefix = DemoService::controlPrefix;
    const auto action = path.compare (0, prefix.size(), prefix) == 0 ? path.substr (prefix.size()) : std::string();
    const auto found = actions().find (action);

    if (found == actions().end())
        return answer (404, { { "error", "unknown control action \"" + action + "\"" } });

    const auto parsed = body.empty() ? json::object() : json::parse (body, nullptr, false);
    if (! parsed.is_object())
        return answer (400, { { "error", "the body is not a JSON object" } });

    try
    {
        return answer (200, found->second (service, parsed));
    }
    catch (const json::exception& e)
    {
        return answer (400, { { "error", e.what() } });
    }
}

void enableControl (DemoService& service)
{
    service.setControlHandler ([&service] (const std::string&, const std::string& path, const std::string& body)
    {
        return answerControlRequest (service, path, body);
    });
}
}
