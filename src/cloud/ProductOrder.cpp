#include "cloud/ProductOrder.h"

namespace VRCloud
{
    bool titleComesBefore (const Product& a, const Product& b)
    {
        if (a.title.isEmpty() || b.title.isEmpty())
            return a.title.isEmpty() && b.title.isNotEmpty();

        return a.title.compareNatural (b.title, false) < 0;
    }
}
