#pragma once
// The one failure type of the program and its forms layer: what a routine's trap reads.

#include <cstdint>
#include <exception>
#include <string>

namespace ui {

// Failure numbers the program tells apart; any other number passes through unchanged.
namespace errors {
constexpr std::int32_t InvalidArgument = 5;
constexpr std::int32_t Overflow = 6;
constexpr std::int32_t OutOfMemory = 7;
constexpr std::int32_t TypeMismatch = 13;
constexpr std::int32_t Internal = 51;
constexpr std::int32_t FileNotFound = 53;
constexpr std::int32_t PathNotFound = 76;
constexpr std::int32_t InvalidPicture = 50003;
} // namespace errors

// The source named by failures that arise in the program itself rather than in the platform.
inline constexpr const char* ProgramSource = "Moondial";

class Error : public std::exception {
public:
    Error(std::int32_t number, std::string description, std::string source = ProgramSource)
        : Number(number), Source(std::move(source)), Description(std::move(description)) {}

    const char* what() const noexcept override { return Description.c_str(); }

    std::int32_t Number;
    std::string Source;
    std::string Description;
};

// Inside a catch block: the failure being handled, whatever was thrown.
// Only call it for failures a trap may handle; see ProcessEnded in Outside.h.
Error CurrentError();

} // namespace ui
