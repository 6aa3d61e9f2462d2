#pragma once

#include "ui/pages/AttrLabel.h"
#include "ui/pages/FilterHeaderDelegate.h"
#include "ui/pages/ProductCell.h"
#include "ui/pages/ProductListRules.h"
#include "ui/pages/TableContent.h"

#include <functional>
#include <map>
#include <memory>
#include <vector>

/** The scrolling list of the products page: the cells of the chosen tab,
    grouped by state code under a header per group. The page owns the
    cells; the view only places them. */
class VerticalTableView final : public juce::Viewport,
                                public TableContentDelegate,
                                public FilterHeaderDelegate
{
public:
    VerticalTableView();

    /** Recomputes every cell's state code and lays the groups out. */
    void rebuildList();

    /** The header of a group (1, 2, 3 or 20), if it is shown. */
    AttrLabel* headerFor (int code);

    void filterChosen (int groupId) override;
    void contentClicked() override;
    void resized() override;

    /** After every rebuild, once the counts and the layout are new. */
    std::function<void()> onRebuilt;

    /** A click on the background between the cells. */
    std::function<void()> onContentClicked;

    TableContent content;
    std::map<int, std::unique_ptr<AttrLabel>> headers;   // by state code
    std::vector<ProductCell*> cells;
    int mode = 0;
    int contentHeight = 77;
    int cellHeight = ProductListRules::cellHeight;
    int rowGap = ProductListRules::rowGap;
    int column = 0;

    /** Plugins per code (20, 1, 2, 3) and expansions per code (1, 3). */
    std::map<int, int> pluginCounts, expansionCounts;

private:
    void layOutGroup (ProductListRules::StateCode code, const ProductListRules::GroupText& text, int columns);

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (VerticalTableView)
};
