#pragma once
// Prefix and award rows written by the tests themselves, so the tests do not
// depend on the installed country data, whose content changes.

#include "ProgramFixture.h"

using Row = QList<std::pair<QString, QString>>;

inline Row prefixRow(const char *prefix, const char *dxcc, const char *country, const char *cq, const char *itu,
                     const char *lat, const char *lon, const char *timeDiff)
{
    return {{"Prefix", prefix}, {"DXCCPrefix", dxcc}, {"Country", country}, {"CQZone", cq}, {"ITUZone", itu},
            {"Continent", "EU"}, {"Latitude", lat},  {"Longitude", lon},    {"TimeDiff", timeDiff}, {"MainPrefix", prefix}};
}

// Allpref/Prefix rows for a few entities, and award rows: Ukraine worked on
// 7 and confirmed on 14 (Dxcc), confirmed on 21 (UR); zone 16 worked on 28.
inline void addSamplePrefixes(const ProgramFixture &program)
{
    program.addRows("Base", "Allpref",
              {{{"AddPrefix", "U"}, {"MainPrefix", "UA"}},
               {{"AddPrefix", "UA"}, {"MainPrefix", "UA"}},
               {{"AddPrefix", "UA9"}, {"MainPrefix", "UA9"}},
               {{"AddPrefix", "UR"}, {"MainPrefix", "UR"}},
               {{"AddPrefix", "VE"}, {"MainPrefix", "VE"}},
               {{"AddPrefix", "VE3"}, {"MainPrefix", "VE3"}},
               {{"AddPrefix", "K"}, {"MainPrefix", "K"}},
               {{"AddPrefix", "G"}, {"MainPrefix", "G"}},
               {{"AddPrefix", "DL"}, {"MainPrefix", "DL"}}});
    program.addRows(
        "Base", "Prefix",
        {prefixRow("UA", "UA1", "European Russia", "16", "29", "55,75", "-37,62", "3"),
         prefixRow("UA9", "UA9", "Asiatic Russia", "17", "30", "55", "-73", "7"),
         prefixRow("UR", "UR", "Ukraine", "16", "29", "50,45", "-30,52", "2"),
         prefixRow("VE", "VE", "Canada", "05", "09", "45", "75", "-5"),
         prefixRow("VE3", "VE", "Canada", "04", "04", "43,7", "79,4", "-5"),
         prefixRow("K", "K", "United States", "05", "08", "40,71", "74,01", "-5"),
         prefixRow("G", "G", "England", "14", "27", "51,5", "0,1", "0"),
         prefixRow("DL", "DL", "Federal Republic of Germany", "14", "28", "51", "-10", "1")});
    program.addRows("Awrds", "Dxcc", {{{"Prefix", "UR"}, {"B14", "cfm"}, {"B7", "wkd"}, {"B21Cw", "cfm"}}});
    program.addRows("Awrds", "UR", {{{"Prefix", "UR"}, {"B21", "cfm"}}});
    for (int z = 1; z <= 40; ++z)
        program.addRows("Awrds", "Waz", {{{"Zone", QString::number(z)}, {"B28", z == 16 ? "wkd" : ""}}});
}
