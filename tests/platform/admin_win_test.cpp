// The administrator check on the real security token, and its walk over token group lists.
#include "platform/admin_win.h"

#include <gtest/gtest.h>

#include <vector>

#include "core/app/check_admin.h"
#include "platform/admin.h"

namespace platform {
namespace {

// A SID of the well-known kind, in a buffer of its own.
std::vector<BYTE> wellKnownSid(WELL_KNOWN_SID_TYPE kind) {
    std::vector<BYTE> sid(SECURITY_MAX_SID_SIZE);
    DWORD size = static_cast<DWORD>(sid.size());
    EXPECT_TRUE(::CreateWellKnownSid(kind, nullptr, sid.data(), &size));
    sid.resize(size);
    return sid;
}

// A TOKEN_GROUPS list as GetTokenInformation lays it out, over SIDs kept alive by the caller.
class GroupList {
public:
    void add(std::vector<BYTE>& sid, DWORD attributes = SE_GROUP_ENABLED) {
        entries_.push_back({sid.data(), attributes});
    }
    const TOKEN_GROUPS& groups() {
        const size_t count = entries_.size();
        buffer_.assign(
            (sizeof(TOKEN_GROUPS) + count * sizeof(SID_AND_ATTRIBUTES)) / sizeof(std::uintptr_t) +
                1,
            0);
        auto* groups = reinterpret_cast<TOKEN_GROUPS*>(buffer_.data());
        groups->GroupCount = static_cast<DWORD>(count);
        for (size_t i = 0; i < count; ++i) groups->Groups[i] = entries_[i];
        return *groups;
    }

private:
    std::vector<SID_AND_ATTRIBUTES> entries_;
    std::vector<std::uintptr_t> buffer_;
};

TEST(AdminTokenTest, WinesAdministratorTokenIsAnAdministrator) {
    EXPECT_TRUE(currentAdminToken().superUser);
    EXPECT_EQ(twk::CheckAdmin::isAdmin(), twk::VbTrue);
}

TEST(AdminTokenTest, AnImpersonatingThreadIsAnsweredFromItsOwnToken) {
    ASSERT_TRUE(::ImpersonateSelf(SecurityImpersonation));
    HANDLE token = nullptr;
    EXPECT_TRUE(::OpenThreadToken(::GetCurrentThread(), TOKEN_QUERY, TRUE, &token))
        << "the thread now has a token of its own";
    if (token) ::CloseHandle(token);
    EXPECT_TRUE(currentAdminToken().superUser);
    ::RevertToSelf();
}

TEST(TokenGroupsTest, EveryGroupIsLookedAtHoweverLongTheList) {
    auto everyone = wellKnownSid(WinWorldSid);
    auto users = wellKnownSid(WinBuiltinUsersSid);
    auto administrators = wellKnownSid(WinBuiltinAdministratorsSid);
    GroupList list;
    for (int i = 0; i < 150; ++i) list.add(i % 2 ? everyone : users);
    EXPECT_FALSE(groupsHoldAdministrators(list.groups()));
    list.add(administrators);
    EXPECT_TRUE(groupsHoldAdministrators(list.groups())) << "entry 150, past any fixed table";
}

TEST(TokenGroupsTest, DenyOnlyCountsAndInvalidOrEmptyEntriesAreSkipped) {
    auto administrators = wellKnownSid(WinBuiltinAdministratorsSid);
    std::vector<BYTE> invalid(SECURITY_MAX_SID_SIZE, 0);  // revision 0 is no SID
    GroupList list;
    EXPECT_FALSE(groupsHoldAdministrators(list.groups())) << "no groups at all";
    list.add(invalid);
    EXPECT_FALSE(groupsHoldAdministrators(list.groups()));
    list.add(administrators, SE_GROUP_USE_FOR_DENY_ONLY);
    EXPECT_TRUE(groupsHoldAdministrators(list.groups()))
        << "a limited administrator token carries the group for deny checks only";
}

}  // namespace
}  // namespace platform
