#include "rule_order.h"

#include <algorithm>
#include <numeric>
#include <tuple>

QList<int> applyingOrder(const QList<PositionFields>& places) {
    QList<int> order(places.size());
    std::iota(order.begin(), order.end(), 0);
    const auto key = [&places](int i) {
        const PositionFields& at = places.at(i);
        return std::make_tuple(at.page.toInt(), -at.left.toInt(), -at.top.toInt());
    };
    std::stable_sort(order.begin(), order.end(), [&key](int a, int b) { return key(a) < key(b); });
    return order;
}
