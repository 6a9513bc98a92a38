#include "ui/FormList.h"

#include "ui/Form.h"
#include "ui/Services.h"

#include <algorithm>
#include <vector>

namespace ui::forms {

namespace {
std::vector<Form*>& List() {
    static std::vector<Form*> forms;
    return forms;
}
} // namespace

const std::vector<Form*>& All() {
    return List();
}

void Add(Form& form) {
    List().push_back(&form);
}

void Remove(Form& form) {
    auto& forms = List();
    forms.erase(std::remove(forms.begin(), forms.end(), &form), forms.end());
}

bool AnyLoaded() {
    const auto& forms = List();
    return std::any_of(forms.begin(), forms.end(), [](const Form* f) { return f->Loaded(); });
}

bool AnyVisible() {
    const auto& forms = List();
    return std::any_of(forms.begin(), forms.end(), [](const Form* f) { return f->Visible(); });
}

void EndUnlessOneShows() {
    if (!AnyVisible())
        EndProgram();
}

} // namespace ui::forms
