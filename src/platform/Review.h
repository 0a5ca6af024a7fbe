#pragma once

// The desktop's request for a rating of the application, shown by the platform itself.
class Review
{
public:
    virtual ~Review() = default;
    // Asks the platform to show its rating request; the platform may show nothing.
    virtual void requestReview() = 0;
};
