#pragma once

#include <cstddef>
#include <ctime>
#include <string>

namespace twkd {

std::string base64(const std::string& bytes);
// Appends the base64 form of size bytes to out, without line breaks.
void appendBase64(const char* bytes, size_t size, std::string& out);
// Text with CR LF line ends as quoted-printable, in lines of at most 76 characters.
std::string quotedPrintable(const std::string& crlfText);
// Header text as it may stand in a message: printable ASCII as it is, anything else as RFC 2047
// encoded words (UTF-8, base64), folded so that no line grows too long.
std::string encodeHeaderText(const std::string& text);
// RFC 5322 date in local time with English names, whatever the process locale.
std::string mailDate(std::time_t when);
// A fresh "<...@domain>" identifier, the domain taken from the sender address.
std::string messageId(const std::string& sender);
// Text with every line ending as CR LF, the canonical form of mail text.
std::string toCrlf(const std::string& text);
// A single address that can stand in an envelope and a header: no blanks, controls, brackets
// or commas, exactly one '@' with text on both sides.
bool isPlainAddress(const std::string& address);
// The attachment's name as the recipient sees it: the last path element, quotes and controls
// replaced.
std::string attachmentName(const std::string& path);

}  // namespace twkd
