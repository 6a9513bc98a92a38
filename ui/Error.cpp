#include "ui/Error.h"

#include <new>

namespace ui {

Error CurrentError() {
    try {
        throw;
    } catch (const Error& e) {
        return e;
    } catch (const std::bad_alloc&) {
        return Error(errors::OutOfMemory, "Out of memory");
    } catch (const std::exception& e) {
        return Error(errors::Internal, e.what());
    } catch (...) {
        return Error(errors::Internal, "Unknown failure");
    }
}

} // namespace ui
