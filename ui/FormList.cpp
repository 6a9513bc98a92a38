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

bool& Ending() {
    static bool ending = false;
    return ending;
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
    // While the session ends, every form gets to unload before the end.
    if (!Ending() && !AnyVisible())
        EndProgram();
}

bool SessionEnding() {
    return Ending();
}

void EndSession() {
    // Only while the forms close: a stand-in for the end of the process returns here.
    struct Closing {
        Closing() { Ending() = true; }
        ~Closing() { Ending() = false; }
    } closing;
    const std::vector<Form*> forms = List(); // an Unload may make another form
    for (Form* form : forms)
        if (form->Loaded())
            form->Close();
    EndProgram();
}

} // namespace ui::forms
