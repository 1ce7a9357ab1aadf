#pragma once

namespace ovrel::AccountDefaults {

// Keys of the hub's user defaults that the account services keep.
inline constexpr char kIsLoggedIn[] = "isLoggedIn";
inline constexpr char kSessionLostReason[] = "sessionLostReason";
inline constexpr char kSessionLostNotified[] = "sessionLostNotified";

} // namespace ovrel::AccountDefaults
