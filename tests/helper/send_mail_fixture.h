#pragma once

// The real library's test variant, pointed at a real server on loopback.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "core/mail/helper_library.h"
#include "support/smtp_server.h"
#include "support/temp_dir.h"

namespace twkd {

using twk::test::HelperMailConfig;
using twk::test::HelperMailSettings;
using twk::test::ReceivedMail;
using twk::test::SmtpServer;

constexpr const char* kRecipient = "admin@customer.example";

class SendMailTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(server.running()) << server.error(); }

    HelperMailSettings settings() const {
        HelperMailSettings settings;
        settings.server = server.url();
        return settings;
    }

    std::int16_t send(const std::string& recipient, const std::string& subject,
                      const std::string& body, const std::string& attachment = "") {
        return library.SendMailOut(recipient, subject, body, attachment);
    }

    twk::test::TempDir dir;
    SmtpServer server;
    twk::LoadedHelperLibrary library{TWK_TEST_HELPER_DIR};
};

}  // namespace twkd
