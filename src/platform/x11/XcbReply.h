#pragma once

#include <cstdlib>
#include <memory>

// xcb hands out replies, errors and key lists allocated with malloc; the caller frees them.
struct XcbFree
{
    void operator()(void* p) const { std::free(p); }
};
template <class T> using XcbReply = std::unique_ptr<T, XcbFree>;
