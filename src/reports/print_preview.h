#pragma once
// The print preview every printed report opens in: modal, printing starts from its toolbar,
// and "保存为PDF" writes the same pages to a file.

#include "reports/page_model.h"

#include <functional>

class QWidget;

namespace report {

void preview(const Document &document, QWidget *parent);

// Tests receive the document instead of a modal preview; an empty observer shows it again.
using PreviewObserver = std::function<void(const Document &)>;
void setPreviewObserver(PreviewObserver observer);

}  // namespace report
