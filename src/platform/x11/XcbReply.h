#pragma once

#include <cstdlib>
#include <memory>
#include <xcb/xcb.h>

// xcb hands out replies, errors and key lists allocated with malloc; the caller frees them.
struct XcbFree
{
    void operator()(void* p) const { std::free(p); }
};
template <class T> using XcbReply = std::unique_ptr<T, XcbFree>;

// A reply whose error, if any, is dropped here rather than reported on the connection (where Qt
// would log it): a window may be gone by the time it is asked about.
template <class Reply, class Cookie>
XcbReply<Reply> replyOrNothing(Reply* (*reply)(xcb_connection_t*, Cookie, xcb_generic_error_t**),
                               xcb_connection_t* connection, Cookie cookie)
{
    xcb_generic_error_t* error = nullptr;
    XcbReply<Reply> answer(reply(connection, cookie, &error));
    std::free(error);
    return answer;
}
