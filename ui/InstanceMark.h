#pragma once
// A mark that one process of this program holds for as long as the object lives, so that a
// later process can tell that another instance runs. Released by the system if the process dies.

#include <memory>

namespace ui {

class InstanceMark {
public:
    // One mark for the saver's processes, another for the idle watcher's.
    enum class Of { Saver, IdleWatch };
    explicit InstanceMark(Of holders = Of::Saver);
    ~InstanceMark();
    InstanceMark(const InstanceMark&) = delete;
    InstanceMark& operator=(const InstanceMark&) = delete;

    // False when another holder had the mark first.
    bool Held() const;

private:
    struct Handle;
    std::unique_ptr<Handle> handle_;
};

} // namespace ui
