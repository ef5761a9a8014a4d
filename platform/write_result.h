// What a save reports: whether the file was written, and if not, why.
#pragma once

#include <string>

namespace kestrel {

struct WriteResult {
    bool ok = true;
    std::string error;  // what failed, for logs and tests
    explicit operator bool() const { return ok; }
};

}  // namespace kestrel
