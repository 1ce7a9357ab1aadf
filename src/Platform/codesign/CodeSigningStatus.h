#pragma once

#include <QString>
#include <cstdint>

namespace ovrel {

// Status of a code-signing operation. The numbers are the ones the Security
// framework uses, so a log line names the same failure on every platform.
using OSStatus = std::int32_t;

namespace CodeSigningStatus {

constexpr OSStatus errSecSuccess = 0;
constexpr OSStatus errSecCSInvalidObjectRef = -67071;
constexpr OSStatus errSecCSInvalidFlags = -67070;
constexpr OSStatus errSecCSStaticCodeNotFound = -67068;
constexpr OSStatus errSecCSUnsigned = -67062;
constexpr OSStatus errSecCSSignatureFailed = -67061;
constexpr OSStatus errSecCSBadResource = -67054;
constexpr OSStatus errSecCSReqInvalid = -67052;
constexpr OSStatus errSecCSReqFailed = -67050;

// The platform's short explanation of a status ("unknown status" for others).
QString describe(OSStatus status);
// The status's constant name ("errSecCSReqFailed"); empty for others.
QString name(OSStatus status);

} // namespace CodeSigningStatus

} // namespace ovrel
