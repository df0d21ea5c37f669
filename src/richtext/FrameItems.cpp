#include "richtext/FrameItems.h"

namespace {

bool isBare(const QTextBlock &block)
{
    return block.isValid() && block.length() <= 1 && !block.textList();
}

} // namespace

std::vector<FrameItems::Item> FrameItems::of(QTextFrame::iterator begin)
{
    std::vector<Item> all;
    for (QTextFrame::iterator it = begin; !it.atEnd(); ++it) {
        if (QTextFrame *frame = it.currentFrame())
            all.push_back(Item{QTextBlock(), frame});
        else
            all.push_back(Item{it.currentBlock(), nullptr});
    }
    std::vector<Item> items;
    items.reserve(all.size());
    for (std::size_t i = 0; i < all.size(); ++i) {
        const bool firstBeforeFrame = i == 0 && i + 1 < all.size() && all[i + 1].frame;
        const bool lastAfterFrame = i + 1 == all.size() && i > 0 && all[i - 1].frame;
        if (!all[i].frame && isBare(all[i].block) && (firstBeforeFrame || lastAfterFrame))
            continue;
        items.push_back(all[i]);
    }
    return items;
}
