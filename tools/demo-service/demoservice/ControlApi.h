#pragma once

#include "demoservice/DemoService.h"

#include <string>

namespace demoservice
{
    /** The demo service driven from another process: the Windows tests run
        under Wine and reach a natively built service only over HTTP.

        Every endpoint is "/_control/<action>", takes a JSON object as its body
        (GET or POST; an empty body reads as {}) and answers JSON. The service
        listens on loopback only, so only this machine can reach them.

          info                      {origin, dataFolder, appVersion, appBuild, demoAccount, staffAccount}
                                    (accounts as {email, password})
          reset                     DemoService::reset()
          requests {path?}          recorded requests, all or those to path:
                                    [{method, path, target, headers: [[name, value]...], body, status}]
          clearRequests
          offerBuild {product, version, build}         {ok}
          contentsOf {product}                         [name...]
          catalogueJson {email}                        {catalogue: text as served}
          archiveFile / manualFile {product}           {path} (native, empty when unknown)
          appArchiveFile                               {path}
          serveExtraFolder {path}                      (a native path)
          faults/setLatency {ms, pathPrefix}
          faults/stallAfterBytes {bytes, ms, pathPrefix, times}
          faults/dropAfterBytes {bytes, pathPrefix, times}
          faults/setIgnoreRange {ignore}
          faults/forceStatus {pathPrefix, status, body, contentType, times}
          faults/forceUnauthorized {pathPrefix, times}
          faults/forceUpdateRequired {pathPrefix, url, times}
          faults/forceServerError {pathPrefix, times}
          faults/forceNonJsonBody {pathPrefix, times}
          faults/clear
          accounts/add {email, password}               {ok}
          accounts/list                                [{email, password, staff}]
          accounts/exists, accounts/isStaff {email}    {ok}
          accounts/checkPassword {email, password}     {ok}
          accounts/signIn {email, password}            {token} (null when refused)
          accounts/issueSignInCode {email}             {code}
          accounts/exchangeCode {email, code}          {token} (null when refused)
          accounts/issueToken {email}                  {token}
          accounts/emailForToken {token}               {email} (null when not live)
          accounts/revokeToken {token}, accounts/revokeAllTokens
          accounts/setCodeLifetime {seconds}

        Omitted fields take the defaults of the C++ calls; the times and ms
        of a fault take -1 for "always" and "until cleared". Answers: 200 with
        the result ({} when there is none), 400 for a body that is not a JSON
        object or a field of the wrong type, 404 for an unknown action. */
    DemoService::ControlAnswer answerControlRequest (DemoService& service, const std::string& path, const std::string& body);

    /** Makes the service answer the control endpoints from its next start(). */
    void enableControl (DemoService& service);
}
