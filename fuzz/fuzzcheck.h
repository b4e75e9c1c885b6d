#pragma once

#include <cstdio>
#include <cstdlib>
#include <stdexcept>
#include <string>

namespace tamcal::fuzz {

// A broken invariant. Under libFuzzer it aborts, so the input is kept as a
// crash; in the corpus replay test it throws, so the test names the input.
[[noreturn]] inline void fail(const std::string &what)
{
#ifdef TAMCAL_FUZZ_REPLAY
    throw std::runtime_error(what);
#else
    std::fprintf(stderr, "fuzz check failed: %s\n", what.c_str());
    std::abort();
#endif
}

inline void check(bool ok, const std::string &what)
{
    if (!ok)
        fail(what);
}

} // namespace tamcal::fuzz
