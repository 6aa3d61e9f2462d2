#pragma once

/** Told when the list's background (not a cell) is clicked. */
class TableContentDelegate
{
public:
    virtual ~TableContentDelegate() = default;
    virtual void contentClicked() = 0;
};
