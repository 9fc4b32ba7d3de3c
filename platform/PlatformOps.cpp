#include "PlatformOps.h"

#include <cstdlib>

namespace {
// The allocator is part of the table so that a test can make an allocation fail.
void* Malloc(std::size_t n) { return std::malloc(n); }
void Free(void* p) { std::free(p); }
}  // namespace

namespace platform {
namespace {

#define LUMO_OP_DEFAULT(ret, name, params, args) \
  ret Sys_##name params { return ::name args; }
LUMO_PLATFORM_OPS(LUMO_OP_DEFAULT)
#undef LUMO_OP_DEFAULT

}  // namespace

const Ops real = {
#define LUMO_OP_ENTRY(ret, name, params, args) &Sys_##name,
    LUMO_PLATFORM_OPS(LUMO_OP_ENTRY)
#undef LUMO_OP_ENTRY
};

Ops sys = real;

}  // namespace platform
