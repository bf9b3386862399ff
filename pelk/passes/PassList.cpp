#include "passes/PassList.hpp"

#include "Companions.hpp"
#include "passes/ASCIIdates.hpp"
#include "passes/BetweenColons.hpp"
#include "passes/Combo.hpp"
#include "passes/CombosDates.hpp"
#include "passes/DateFollowedByName.hpp"
#include "passes/Dates.hpp"
#include "passes/Drafo.hpp"
#include "passes/ExcludeText.hpp"
#include "passes/FormDateLine.hpp"
#include "passes/NewLines.hpp"
#include "passes/Prizes.hpp"
#include "passes/QuoteRatherThanMark.hpp"
#include "passes/Segmentalize.hpp"
#include "passes/TableReverseSorted.hpp"
#include "passes/UniqueCombos.hpp"

namespace {

template <class Pass>
std::unique_ptr<Alterable> make() {
  return std::make_unique<Pass>();
}

// The fuzz target picks a pass by its place among the rows that are no
// alias: new rows go at the end, so that its corpus keeps its meaning.
const PassOption kPassList[] = {
    {"-6", make<QuoteRatherThanMark>, nullptr, "pelk who.txt -6    # Replace carets with quotes. "},
    {"-e", make<ExcludeText>, kExcludeText,
     "pelk who.txt -e exclude.txt  # Every nurupo pelk is excluded from who.txt "},
    {"-z", make<Drafo>, kDrafoCsv,
     "pelk who.txt -z    # Change characters from zenkaku to hankaku. "},
    {"-n", make<NewLines>, kSeparateText,
     "pelk who.txt -n    # Replace slashes with new-line characters. "},
    {"-a", make<ASCIIdates>, nullptr, "pelk who.txt -a    # ASCII date lines "},
    {"-da", make<ASCIIdates>, nullptr, "", false, false, true},
    {"-b", make<BetweenColons>, nullptr,
     "pelk who.txt -b    # Every name is interposed between zenkaku colons. "},
    {"-d", make<Dates>, nullptr, "pelk who.txt -d    # date lines "},
    {"-3", make<FormDateLine>, nullptr,
     "pelk who.txt -3    # Unite three lines to form a date Line. "},
    {"-f", make<DateFollowedByName>, nullptr,
     "pelk who.txt -f    # Every date line is written in the vemo form. "},
    {"-u", make<UniqueCombos>, kUniqueText, "pelk who.txt -u    # unique lines "},
    {"-t", make<TableReverseSorted>, kTabulateText,
     "pelk who.txt -t    # Tabulate and reverse-sort. "},
    {"-i", make<CombosDates>, nullptr,
     "pelk who.txt -i    # Include combinations and date lines. "},
    {"-c", make<Combo>, nullptr, "pelk who.txt -c    # Expand 11-to-7 combinations. "},
    {"-s", make<Segmentalize>, kSegmentText, ""},
    {"-m", make<Segmentalize>, kSegmentText,
     "pelk who.txt -m30  # Ensure the integrity of each 3 x 3 matrix. ", true, true, true},
    {"-w", make<Segmentalize>, kSegmentText,
     "pelk who.txt -w30  # Add a date line whenever 30 lines appear. ", true, false, true},
    {"-p", make<Prizes>, kSeparateText, "pelk who.txt -p    # Check every pick against the draw. "},
};

}  // namespace

std::span<const PassOption> passList() { return kPassList; }

std::unique_ptr<Alterable> defaultPass() { return make<ExcludeText>(); }
