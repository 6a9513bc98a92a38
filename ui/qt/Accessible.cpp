#include "ui/qt/Accessible.h"

#include "ui/qt/Impl.h"

#include <QAccessibleWidget>
#include <QLineEdit>
#include <QStyle>
#include <QStyleOptionFrame>
#include <QTextBoundaryFinder>
#include <algorithm>
#include <vector>

namespace ui {

namespace {

// A form with a title bar is a dialog to screen readers, which read its caption as its name
// and its description after it; Qt would call it a plain widget's client area.
class FormAccessible : public QAccessibleWidget {
public:
    explicit FormAccessible(FormWidget* widget) : QAccessibleWidget(widget) {}

    QAccessible::Role role() const override {
        const QWidget* w = widget();
        return w->isWindow() && !(w->windowFlags() & Qt::FramelessWindowHint)
                   ? QAccessible::Dialog
                   : QAccessibleWidget::role();
    }
    QString text(QAccessible::Text t) const override {
        const QString& description = static_cast<FormWidget*>(widget())->Description();
        return t == QAccessible::Description && !description.isEmpty() ? description
                                                                       : QAccessibleWidget::text(t);
    }
};

// The stretch of text around an offset, for each kind of boundary: a single line's whole text,
// the grapheme, word or sentence the offset falls in (at the end, the last one), and never a
// search without an end. Qt's own answer searched on for ever from the end of the text, and
// told the attributes of each character as a run of none, so that a reader rebuilt the line
// one character short.
class TextStretches {
public:
    explicit TextStretches(QString text) : text_(std::move(text)) {}

    // The stretch's [start, end) and text; the one before or after it for `step` -1 or 1.
    QString At(int offset, QAccessible::TextBoundaryType kind, int step, int* start,
               int* end) const {
        *start = *end = -1;
        const int length = static_cast<int>(text_.size());
        if (offset < 0 || offset > length)
            return {};
        if (kind == QAccessible::LineBoundary || kind == QAccessible::ParagraphBoundary ||
            kind == QAccessible::NoBoundary) {
            if (step != 0)
                return {}; // one line: nothing before or after it
            *start = 0;
            *end = length;
            return text_;
        }
        const std::vector<int> edges = Edges(kind);
        const auto stretches = static_cast<long>(edges.size()) - 1;
        long index = 0;
        if (offset == length) // no character at the end; the last word or sentence
            index = kind == QAccessible::CharBoundary ? stretches : stretches - 1;
        else
            index = std::upper_bound(edges.begin(), edges.end(), offset) - edges.begin() - 1;
        index += step;
        if (index < 0 || index >= stretches)
            return {};
        *start = edges[static_cast<std::size_t>(index)];
        *end = edges[static_cast<std::size_t>(index) + 1];
        return text_.mid(*start, *end - *start);
    }

private:
    // The boundaries of that kind, from 0 to the text's length.
    std::vector<int> Edges(QAccessible::TextBoundaryType kind) const {
        const auto type = kind == QAccessible::CharBoundary   ? QTextBoundaryFinder::Grapheme
                          : kind == QAccessible::WordBoundary ? QTextBoundaryFinder::Word
                                                              : QTextBoundaryFinder::Sentence;
        std::vector<int> edges{0};
        QTextBoundaryFinder finder(type, text_);
        for (qsizetype at = finder.toNextBoundary(); at > 0; at = finder.toNextBoundary())
            if (at > edges.back())
                edges.push_back(static_cast<int>(at));
        if (edges.back() != text_.size())
            edges.push_back(static_cast<int>(text_.size()));
        return edges;
    }

    QString text_;
};

// The program's text boxes as readers ask them, every question answered at every offset.
class TextBoxAccessible : public QAccessibleWidget,
                          public QAccessibleTextInterface,
                          public QAccessibleEditableTextInterface {
public:
    explicit TextBoxAccessible(QLineEdit* edit)
        : QAccessibleWidget(edit, QAccessible::EditableText) {}

    void* interface_cast(QAccessible::InterfaceType type) override {
        if (type == QAccessible::TextInterface)
            return static_cast<QAccessibleTextInterface*>(this);
        if (type == QAccessible::EditableTextInterface)
            return static_cast<QAccessibleEditableTextInterface*>(this);
        return QAccessibleWidget::interface_cast(type);
    }
    QAccessible::State state() const override {
        QAccessible::State state = QAccessibleWidget::state();
        state.editable = !Edit()->isReadOnly();
        state.readOnly = Edit()->isReadOnly();
        state.selectableText = true;
        return state;
    }
    QString text(QAccessible::Text t) const override {
        return t == QAccessible::Value ? Edit()->text() : QAccessibleWidget::text(t);
    }
    void setText(QAccessible::Text t, const QString& text) override {
        if (t == QAccessible::Value && !Edit()->isReadOnly())
            Edit()->setText(text);
    }

    // QAccessibleTextInterface
    void selection(int index, int* start, int* end) const override {
        *start = *end = 0;
        if (index != 0 || !Edit()->hasSelectedText())
            return;
        *start = static_cast<int>(Edit()->selectionStart());
        *end = static_cast<int>(Edit()->selectionEnd());
    }
    int selectionCount() const override { return Edit()->hasSelectedText() ? 1 : 0; }
    void addSelection(int start, int end) override { setSelection(0, start, end); }
    void removeSelection(int index) override {
        if (index == 0)
            Edit()->deselect();
    }
    void setSelection(int index, int start, int end) override {
        if (index == 0)
            Edit()->setSelection(start, end - start);
    }
    int cursorPosition() const override { return Edit()->cursorPosition(); }
    void setCursorPosition(int position) override { Edit()->setCursorPosition(position); }
    QString text(int start, int end) const override {
        const QString all = Edit()->text();
        start = std::clamp(start, 0, static_cast<int>(all.size()));
        end = end < 0 ? static_cast<int>(all.size()) : std::clamp(end, start, int(all.size()));
        return all.mid(start, end - start);
    }
    QString textBeforeOffset(int offset, QAccessible::TextBoundaryType kind, int* start,
                             int* end) const override {
        return TextStretches(Edit()->text()).At(Offset(offset), kind, -1, start, end);
    }
    QString textAfterOffset(int offset, QAccessible::TextBoundaryType kind, int* start,
                            int* end) const override {
        return TextStretches(Edit()->text()).At(Offset(offset), kind, 1, start, end);
    }
    QString textAtOffset(int offset, QAccessible::TextBoundaryType kind, int* start,
                         int* end) const override {
        return TextStretches(Edit()->text()).At(Offset(offset), kind, 0, start, end);
    }
    int characterCount() const override { return static_cast<int>(Edit()->text().size()); }
    // Plain text: one run of no attributes over all of it.
    QString attributes(int, int* start, int* end) const override {
        *start = 0;
        *end = characterCount();
        return {};
    }
    QRect characterRect(int offset) const override {
        const QString all = Edit()->text();
        if (offset < 0 || offset >= all.size())
            return {};
        const QFontMetrics metrics = Edit()->fontMetrics();
        const QRect area = Contents();
        const int left = area.x() + metrics.horizontalAdvance(all.left(offset));
        const QRect box(left, area.y() + (area.height() - metrics.height()) / 2,
                        metrics.horizontalAdvance(all.mid(offset, 1)), metrics.height());
        return QRect(Edit()->mapToGlobal(box.topLeft()), box.size());
    }
    int offsetAtPoint(const QPoint& point) const override {
        const QPoint at = Edit()->mapFromGlobal(point);
        if (!Edit()->rect().contains(at))
            return -1;
        const QString all = Edit()->text();
        const QFontMetrics metrics = Edit()->fontMetrics();
        const int x = at.x() - Contents().x();
        for (int i = 0; i < all.size(); ++i)
            if (x < metrics.horizontalAdvance(all.left(i + 1)))
                return i;
        return static_cast<int>(all.size());
    }
    void scrollToSubstring(int start, int) override { Edit()->setCursorPosition(start); }

    // QAccessibleEditableTextInterface
    void deleteText(int start, int end) override { replaceText(start, end, QString()); }
    void insertText(int offset, const QString& text) override { replaceText(offset, offset, text); }
    void replaceText(int start, int end, const QString& text) override {
        if (Edit()->isReadOnly())
            return;
        QString all = Edit()->text();
        start = std::clamp(start, 0, static_cast<int>(all.size()));
        end = std::clamp(end, start, static_cast<int>(all.size()));
        Edit()->setText(all.replace(start, end - start, text));
    }

private:
    QLineEdit* Edit() const { return static_cast<QLineEdit*>(widget()); }
    // -2 asks at the caret.
    int Offset(int offset) const { return offset == -2 ? cursorPosition() : offset; }
    QRect Contents() const {
        QStyleOptionFrame option;
        option.initFrom(Edit());
        option.rect = Edit()->contentsRect();
        option.lineWidth = Edit()->hasFrame() ? 1 : 0;
        return Edit()->style()->subElementRect(QStyle::SE_LineEditContents, &option, Edit());
    }
};

QAccessibleInterface* Factory(const QString&, QObject* object) {
    if (auto* form = dynamic_cast<FormWidget*>(object))
        return new FormAccessible(form);
    // The program's own boxes only: the system's dialogs keep Qt's answers.
    if (auto* edit = qobject_cast<QLineEdit*>(object);
        edit && dynamic_cast<FormWidget*>(edit->window()))
        return new TextBoxAccessible(edit);
    return nullptr;
}

} // namespace

void InstallAccessibleFactory() {
    QAccessible::installFactory(Factory);
}

} // namespace ui
