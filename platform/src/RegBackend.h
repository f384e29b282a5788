// What each registry backend provides to the registry code that is the same on every platform.
#pragma once

#include <string_view>

#include "platform/Registry.h"

namespace plat::reg {

// Opens the key at `path` below the root, creating what is missing along it when `create` is set.
Status OpenKeyPath(std::wstring_view path, bool create, HKey* out);

}  // namespace plat::reg
