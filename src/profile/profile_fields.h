// The eleven labelled lines of a profile file and the bounds of their values.
#ifndef VAULTGAUGE_PROFILE_PROFILE_FIELDS_H_
#define VAULTGAUGE_PROFILE_PROFILE_FIELDS_H_

#include <array>
#include <cstddef>
#include <string>
#include <string_view>

#include "profile/connection_profile.h"

namespace vaultgauge {

inline constexpr size_t kLabelLength = 12;
// The value starts after the label and one separator character.
inline constexpr size_t kValueColumn = kLabelLength + 1;
inline constexpr size_t kMaxValueLength = 60;

struct ProfileField {
  std::string_view label;
  std::string ConnectionProfile::*member;
  size_t min_length;
  size_t max_length;  // the field's capacity: a longer value makes the profile invalid
};

// In the order in which the minimum lengths are checked, which is also the
// order in which a new profile is written.
inline const std::array<ProfileField, 11> kProfileFields = {{
    {"Extcompany.:", &ConnectionProfile::extcompany, 2, 63},
    {"Destination:", &ConnectionProfile::destination, 3, 11},
    {"Client.....:", &ConnectionProfile::client, 3, 11},
    {"User.......:", &ConnectionProfile::user, 2, 47},
    {"Password...:", &ConnectionProfile::password, 2, 31},
    {"Language...:", &ConnectionProfile::language, 1, 31},
    {"Mode.......:", &ConnectionProfile::mode, 3, 31},
    {"Hostname...:", &ConnectionProfile::hostname, 2, 47},
    {"Sysnr......:", &ConnectionProfile::sysnr, 2, 31},
    {"Gwhost.....:", &ConnectionProfile::gwhost, 2, 61},
    {"Gwservice..:", &ConnectionProfile::gwservice, 2, 31},
}};

}  // namespace vaultgauge

#endif  // VAULTGAUGE_PROFILE_PROFILE_FIELDS_H_
