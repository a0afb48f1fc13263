#include "resgen/Placeholders.h"

#include "support/Translation.h"

// The order is fixed: it is the order of the editor's list, whose entries carry
// the row index.
const TPlaceholder Placeholders[PlaceholderCount] = {
    {TrNoop("Major version"), "fvMajor"},
    {TrNoop("Minor version"), "fvMinor"},
    {TrNoop("Release"), "fvRelease"},
    {TrNoop("Build"), "fvBuild"},
    {TrNoop("Description"), "Description"},
    {TrNoop("Major product version"), "pvMajor"},
    {TrNoop("Minor product version"), "pvMinor"},
    {TrNoop("Author"), "Author"},
    {TrNoop("Company"), "Company"},
    {TrNoop("Copyright"), "Copyright"},
    {TrNoop("Product name"), "Product"},
    {TrNoop("Platform"), "Platform"},
};
