#include "platform/FolderAccess.h"

#include "platform/windows/FolderWalkWindows.h"

#include <windows.h>
#include <aclapi.h>
#include <sddl.h>

namespace FolderAccess
{
    bool grantUsersAccess (const juce::File& path)
    {
        PSID usersSid = nullptr;

        // The built-in Users group.
        if (! ConvertStringSidToSidW (L"S-1-5-32-545", &usersSid))
            return false;

        auto widePath = path.getFullPathName().toWideCharPointer();
        PACL currentList = nullptr;
        PSECURITY_DESCRIPTOR descriptor = nullptr;

        if (GetNamedSecurityInfoW (widePath, SE_FILE_OBJECT, DACL_SECURITY_INFORMATION,
                                   nullptr, nullptr, &currentList, nullptr, &descriptor) != ERROR_SUCCESS)
        {
            LocalFree (usersSid);
            return false;
        }

        EXPLICIT_ACCESS_W entry {};
        entry.grfAccessPermissions = 0x1301DF; // modify, without execute
        entry.grfAccessMode = GRANT_ACCESS;
        entry.grfInheritance = OBJECT_INHERIT_ACE | CONTAINER_INHERIT_ACE;
        entry.Trustee.pMultipleTrustee = nullptr;
        entry.Trustee.MultipleTrusteeOperation = NO_MULTIPLE_TRUSTEE;
        entry.Trustee.TrusteeForm = TRUSTEE_IS_SID;
        entry.Trustee.TrusteeType = TRUSTEE_IS_UNKNOWN;
        entry.Trustee.ptstrName = static_cast<LPWSTR> (usersSid);

        PACL newList = nullptr;
        bool applied = false;

        if (SetEntriesInAclW (1, &entry, currentList, &newList) == ERROR_SUCCESS)
        {
            // Unprotected, so the object keeps inheriting from its parent too.
            applied = SetNamedSecurityInfoW (const_cast<LPWSTR> (widePath), SE_FILE_OBJECT,
                                             DACL_SECURITY_INFORMATION | UNPROTECTED_DACL_SECURITY_INFORMATION,
                                             nullptr, nullptr, newList, nullptr) == ERROR_SUCCESS;
        }

        LocalFree (usersSid);

        if (newList != nullptr)
            LocalFree (newList);

        if (descriptor != nullptr)
            LocalFree (descriptor);

        return applied;
    }

    void grantUsersAccessRecursively (const juce::File& folder)
    {
        FolderWalk::visitRecursively (folder, [] (const juce::File& object) { grantUsersAccess (object); });
    }
}
