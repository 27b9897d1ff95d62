#pragma once

// The maker's fixed addresses: one place for each.
namespace twk::maker {

inline constexpr const char* kHomePage = "https://www.brindle.example/tarnwick/";
inline constexpr const char* kUpdateServer = "http://update.brindle.example";
inline constexpr const char* kVersionFilePath = "/Tarnwick/version.dat";
inline constexpr const char* kSupportMailbox = "support@brindle.example";
inline constexpr const char* kFacebookPage = "https://www.facebook.com/brindle.example";
inline constexpr const char* kTwitterPage = "https://twitter.com/brindle_example";

// Example addresses shown in empty entry boxes; a box holding one counts as empty.
inline constexpr const char* kPlaceholderRecipient = "recipient@example.com";
inline constexpr const char* kPlaceholderSender = "your.name@example.com";

}  // namespace twk::maker
