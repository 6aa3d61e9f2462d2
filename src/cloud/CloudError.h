#pragma once

namespace VRCloud
{
    /** Sign-in results. Values other than these are HTTP statuses passed through. */
    enum Error : int
    {
        ok = 1,
        noConnection = 2,
        invalidEmail = 4,
        invalidPassword = 8,
        forbidden = 16
    };
}
