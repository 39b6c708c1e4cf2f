// Model tables: rows of product-id ranges, each with what to do for them.
// The first row that names a product id wins; an id that no row names is
// left alone.
#pragma once

#include <initializer_list>
#include <vector>

namespace kv::ctrl {

struct ProductRange {
    int first;
    int last;
};

// One product id, or an inclusive range of them.
constexpr ProductRange Id(int productId) { return {productId, productId}; }
constexpr ProductRange Ids(int first, int last) { return {first, last}; }

template <class Action>
struct ProductRow {
    std::vector<ProductRange> products;
    Action action;

    bool Names(int productId) const {
        for (const ProductRange& range : products) {
            if (productId >= range.first && productId <= range.last) return true;
        }
        return false;
    }
};

template <class Action>
const ProductRow<Action>* FindRow(const std::vector<ProductRow<Action>>& rows, int productId) {
    for (const auto& row : rows) {
        if (row.Names(productId)) return &row;
    }
    return nullptr;
}

// Single product ids written as a list, as the tables list them.
inline std::vector<ProductRange> EachOf(std::initializer_list<int> productIds) {
    std::vector<ProductRange> ranges;
    for (int id : productIds) ranges.push_back(Id(id));
    return ranges;
}

}  // namespace kv::ctrl
