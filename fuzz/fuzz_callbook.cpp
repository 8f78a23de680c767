// The callbook's answer page: its bytes through the HTML-to-text step, then
// the element lines cut to the memo, as the look-up window reads them.

#include "FuzzInput.h"
#include "lookups/CallbookPage.h"
#include "platform/web/WebPage.h"

// In this process: the page reader runs this same parse, under limits of its own.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const Web::Document page = Web::Document::parseHere(Fuzz::bytes(data, size));
    for (int i = 0; i < page.count(); ++i)
        page.tagName(i);
    CallbookPage::memo(QStringLiteral("QA1ZZ"), CallbookPage::elementLines(page));
    return 0;
}
