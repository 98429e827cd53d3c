#pragma once

namespace numvex {

// The editor component's accessibility bridge turns every caret move and every change into
// a character offset counted from the start of the document, whether or not an assistive
// technology listens: in a document of millions of lines each key costs a pass over the
// text up to the caret. While no assistive technology is active, the program's editors get a
// plain accessible widget instead; once one becomes active, those are dropped and the
// editors answer with the component's full text interface again.
//
// Call once the first editor exists (the component installs its own factory then); later
// calls do nothing.
void UsePlainAccessibilityWhileInactive();

}  // namespace numvex
