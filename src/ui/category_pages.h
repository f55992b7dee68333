#pragma once

namespace velmora {

struct ConversionState;
class Window;

// Shows category page `page` (1 to 32) of the main window's page control and, the first time in
// the run, builds its unit rows from the section "unit<page>" of the settings file: one copy of
// the page's template edit box and label per unit, placed by the layout settings, each factor
// stored in FactorTable at the row's number. Recounts the section on every call to set
// NextRowNumber. The page's first unit row then takes the keyboard focus with its text selected.
// Pages outside 1 to 32 are ignored.
void LoadCategoryPage(ConversionState& state, Window* window, int page);

// Builds the rows of an already built page anew from the settings file, after its unit list
// changed: the old rows and their factors go, the new list's rows take their place (a page on
// show also gets NextRowNumber and the focus in its first row, as when it is shown). The new rows
// are empty; returns whether any old row showed a value. Pages not built yet are left alone and
// pick up the list when first shown.
bool RebuildCategoryPage(ConversionState& state, Window* window, int page);

}  // namespace velmora
