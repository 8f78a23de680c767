// The spot page: its bytes through the HTML-to-text step, then every line of
// the page's text cut into a spot with its band and plan mode, as the spot
// window reads them.

#include "FuzzInput.h"
#include "lookups/SpotLines.h"
#include "platform/web/WebPage.h"

// In this process: the page reader runs this same parse, under limits of its own.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const Web::Document page = Web::Document::parseHere(Fuzz::bytes(data, size), "text/html");
    for (const QString &line : page.wholeText().split(u'\n')) {
        const SpotLines::Spot spot = SpotLines::parse(line);
        SpotLines::bandKey(spot.frequency);
        SpotLines::bandPlanMode(spot.frequency);
    }
    return 0;
}
