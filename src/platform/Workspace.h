#pragma once

#include <QString>

// The desktop the application runs in, as far as capture needs to know it.
class Workspace
{
public:
    virtual ~Workspace() = default;

    // An identifier of the application the user is working in (the one that made a clipboard
    // change): its application id or desktop-file id where one can be found, else its window
    // class. The empty string when nothing is known.
    virtual QString activeApplicationId() const = 0;
};
