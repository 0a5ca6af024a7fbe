#pragma once

#include "platform/Review.h"

// Counts the rating requests instead of asking the desktop.
class CountingReview : public Review
{
public:
    void requestReview() override { ++requests; }
    int requests = 0;
};
