#pragma once

// Whether this application is the one the user is working in. The watcher skips clipboard
// changes made while it is, since those are the program's own copy-backs.
class ApplicationState
{
public:
    virtual ~ApplicationState() = default;
    virtual bool isActive() const = 0;
};
