#pragma once
// The local time zone named once for the life of the program.
//
// With TZ unset the C library looks at the zone file again for every local time it converts
// (each date-time field read or written), which costs a closing of a document a noticeable share
// of its time. Naming the machine's own zone file once gives the same local times and reads the
// file once. A TZ the user set is left as it is.

namespace brix {

// Call at the start of main, before any thread or date-time conversion.
void settleLocalTimeZone();

} // namespace brix
