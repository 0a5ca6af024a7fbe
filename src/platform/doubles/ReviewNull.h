#pragma once

#include "platform/Review.h"

// Linux desktops offer applications no rating request of their own (software centres are
// reached through "Rate Us" instead), so asking does nothing.
class ReviewNull : public Review
{
public:
    void requestReview() override {}
};
