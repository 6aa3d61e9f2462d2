#pragma once

/** Told which group a filter header button stands for when it is clicked. */
class FilterHeaderDelegate
{
public:
    virtual ~FilterHeaderDelegate() = default;

    /** groupId is the group's state code. */
    virtual void filterChosen (int groupId) = 0;
};
