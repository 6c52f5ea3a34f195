#pragma once

#include <functional>

class QAbstractItemView;
class QModelIndex;

// Assistive technology chooses an entry of a list by selecting it: the
// selection arrives without the current row moving to it, which no click
// and no key does (both move the current row first). chosen then gets the
// selected row, once the selection is done, to act as a click or Enter.
// Call again after the view is given a new model.
void OnAssistiveSelection(QAbstractItemView *view, std::function<void(const QModelIndex &)> chosen);
