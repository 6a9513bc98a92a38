#pragma once
// Our header scan beside Qt's own image readers, on the same bytes: wherever a reader sees a
// bitmap, GIF, JPEG or PNG, the scan must have seen that kind too, and at least that size, or
// a picture too large to decode could pass the scan.

#include <cstddef>
#include <string>

namespace testing_support {

// What the two disagree on, or nothing. What the scan refuses on purpose (a header beyond its
// bound, more GIF extensions than any real file has) is no disagreement.
std::string HeaderDisagreement(const unsigned char* data, std::size_t size);

} // namespace testing_support
