#pragma once

#include <QtGlobal>

// The process-wide instance of a service, as the composition root built it. The root makes one
// SharedInstance per service it publishes; while that lives, the service's sharedX() accessor
// returns it. An accessor used before (or after) that is a programming error in the order of
// construction, and stops the program at once with the accessor's name rather than handing out
// a stand-in that the rest of the run would silently work against.
template <class T> class SharedInstance
{
public:
    explicit SharedInstance(T& instance)
    {
        if (s_instance)
            qFatal("a second shared instance of a service was published");
        s_instance = &instance;
    }
    ~SharedInstance() { s_instance = nullptr; }
    SharedInstance(const SharedInstance&) = delete;
    SharedInstance& operator=(const SharedInstance&) = delete;

    // The published instance; `accessor` names the caller in the fatal message.
    static T& instance(const char* accessor)
    {
        if (!s_instance)
            qFatal("%s used before the application built it", accessor);
        return *s_instance;
    }

    // The published instance, or null: only for a reader whose behaviour without the service is
    // the safe one on its own (a preview without the application's setting loads no web page).
    static T* published() { return s_instance; }

private:
    static inline T* s_instance = nullptr;
};
