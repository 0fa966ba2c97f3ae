#include "InputDialog.h"

#include "platform/DialogPlacement.h"

#include "platform/Messages.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QStyle>

#include <algorithm>
#include <map>
#include <utility>

namespace vexa::server {

namespace {

constexpr const char* kDefaultPrompt = "Enter Value";
constexpr const char* kLockText = "Lock this window's position on screen";

constexpr int kIntegerEntryLength = 50;
constexpr int kMinimumWidth = 250;
/// Room beyond the prompt, its widest character and the window frame.
constexpr int kWidthSpare = 10;
constexpr int kNumberMargin = 60;
constexpr int kTextMargin = 20;
constexpr int kButtonWidth = 60;
constexpr int kButtonHeight = 24;
constexpr int kButtonGap = 10;
constexpr int kTopMargin = 15;
constexpr int kRowGap = 15;
constexpr int kBottomMargin = 15;
constexpr int kScreenMargin = 10;

/// Where a dialog of one kind last stood, and whether it was locked there.
struct RememberedPlace {
    bool locked = false;
    QPoint topLeft;
};

std::map<InputKind, RememberedPlace>& RememberedPlaces()
{
    static std::map<InputKind, RememberedPlace> places;
    return places;
}

bool IsNumberKind(InputKind kind)
{
    return kind == InputKind::Integer || kind == InputKind::FloatingPoint;
}

/// Runs one dialog; \p read validates the dialog's entry and gives a T or the
/// failure to show.
template <class T, class Read>
std::optional<T> Run(QWidget* owner, InputDialog::Setup setup, Read read)
{
    std::optional<T> accepted;
    // Deleted by exec() when it returns, or with its owner should that go first,
    // so that no path leaves the dialog behind or deletes it twice.
    auto* dialog = new InputDialog(owner, std::move(setup),
                                   [&accepted, read](const InputDialog& shown) -> std::optional<ValidationFailure> {
                                       auto outcome = read(shown);
                                       if (const auto* failure = std::get_if<ValidationFailure>(&outcome))
                                           return *failure;
                                       accepted = std::get<T>(outcome);
                                       return std::nullopt;
                                   });
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    if (dialog->exec() != QDialog::Accepted)
        return std::nullopt;
    return accepted;
}

InputDialog::Setup EditSetup(InputKind kind, const QString& prompt, QString initial, int maxLength, QWidget* over,
                             bool offerLock)
{
    InputDialog::Setup setup;
    setup.kind = kind;
    setup.prompt = prompt;
    setup.initialText = std::move(initial);
    setup.maxLength = maxLength;
    setup.over = over;
    setup.offerLock = offerLock;
    return setup;
}

}  // namespace

std::optional<qint32> AskInteger(QWidget* owner, const QString& prompt, qint32 initial, QWidget* over,
                                 bool offerLock)
{
    return Run<qint32>(owner,
                       EditSetup(InputKind::Integer, prompt, QString::asprintf("%d", initial), kIntegerEntryLength,
                                 over, offerLock),
                       [](const InputDialog& dialog) { return ValidateInteger(dialog.entryText()); });
}

std::optional<double> AskFloatingPoint(QWidget* owner, const QString& prompt, double initial, QWidget* over,
                                       bool offerLock)
{
    return Run<double>(owner,
                       EditSetup(InputKind::FloatingPoint, prompt, QString::asprintf("%f", initial), 0, over,
                                 offerLock),
                       [](const InputDialog& dialog) { return ValidateFloatingPoint(dialog.entryText()); });
}

std::optional<QString> AskText(QWidget* owner, const QString& prompt, const QString& initial, int maxLength,
                               bool valueRequired, QWidget* over, bool offerLock)
{
    return Run<QString>(owner, EditSetup(InputKind::Text, prompt, initial, maxLength, over, offerLock),
                        [valueRequired](const InputDialog& dialog) {
                            return ValidateText(dialog.entryText(), valueRequired);
                        });
}

std::optional<QString> AskBinaryText(QWidget* owner, const QString& prompt, const QString& initial,
                                     int demandedLength, QWidget* over, bool offerLock)
{
    // No limit on the edit itself: blanks are allowed, and an entry that is
    // too long is explained by the refusal.
    return Run<QString>(owner, EditSetup(InputKind::BinaryText, prompt, initial, 0, over, offerLock),
                        [demandedLength](const InputDialog& dialog) {
                            return ValidateBinaryText(dialog.entryText(), demandedLength);
                        });
}

std::optional<int> AskChoice(QWidget* owner, const QString& prompt, const QStringList& items, int initial,
                             QWidget* over, bool offerLock)
{
    if (items.isEmpty())
        return std::nullopt;
    InputDialog::Setup setup = EditSetup(InputKind::Choice, prompt, QString(), 0, over, offerLock);
    setup.items = items;
    setup.initialChoice = initial >= 0 && initial < items.size() ? initial : 0;
    return Run<int>(owner, std::move(setup),
                    [](const InputDialog& dialog) { return std::variant<int, ValidationFailure>(dialog.choiceIndex()); });
}

InputDialog::InputDialog(QWidget* owner, Setup setup, Validator validate)
    : QDialog(owner), m_setup(std::move(setup)), m_validate(std::move(validate))
{
    setObjectName(QString::fromLatin1(kObjectName));
    setWindowTitle(m_setup.prompt.isEmpty() ? QString::fromLatin1(kDefaultPrompt) : m_setup.prompt);
    buildControls();
}

QString InputDialog::entryText() const
{
    return m_edit != nullptr ? m_edit->text() : QString();
}

int InputDialog::choiceIndex() const
{
    return m_list != nullptr ? m_list->currentIndex() : -1;
}

bool InputDialog::isLocked() const
{
    return m_lockBox != nullptr && m_lockBox->isChecked();
}

void InputDialog::accept()
{
    if (m_validate) {
        if (const std::optional<ValidationFailure> failure = m_validate(*this)) {
            ShowMessage(this, failure->text, failure->caption, failure->icon);
            m_entry->setFocus();
            if (m_edit != nullptr)
                m_edit->selectAll();
            return;
        }
    }
    QDialog::accept();
}

void InputDialog::done(int result)
{
    if (m_lockBox != nullptr)
        RememberedPlaces()[m_setup.kind] = {m_lockBox->isChecked(), pos()};
    QDialog::done(result);
}

void InputDialog::forgetPositions()
{
    RememberedPlaces().clear();
}

void InputDialog::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    placeOnScreen();
}

void InputDialog::buildControls()
{
    if (m_setup.offerLock) {
        m_lockBox = new QCheckBox(QString::fromLatin1(kLockText), this);
        m_lockBox->setObjectName(QString::fromLatin1(kLockBoxName));
        const auto remembered = RememberedPlaces().find(m_setup.kind);
        m_lockBox->setChecked(remembered != RememberedPlaces().end() && remembered->second.locked);
    }

    const QFontMetrics metrics(font());
    int width = std::max(kMinimumWidth, metrics.horizontalAdvance(windowTitle()) + metrics.maxWidth()
                                            + DecorationSize(*this).width() + kWidthSpare);
    // The lock box's text is wider than the narrowest dialog in most fonts;
    // it is never cut off.
    if (m_lockBox != nullptr)
        width = std::max(width, m_lockBox->sizeHint().width() + 2 * kTextMargin);

    if (m_setup.kind == InputKind::Choice) {
        m_list = new QComboBox(this);
        m_list->addItems(m_setup.items);
        m_list->setCurrentIndex(m_setup.initialChoice);
        m_entry = m_list;
    } else {
        m_edit = new QLineEdit(this);
        if (m_setup.maxLength > 0)
            m_edit->setMaxLength(m_setup.maxLength);
        m_edit->setText(m_setup.initialText);
        m_edit->selectAll();
        m_entry = m_edit;
    }
    m_entry->setObjectName(QString::fromLatin1(kEntryName));
    const int margin = IsNumberKind(m_setup.kind) ? kNumberMargin : kTextMargin;
    m_entry->setGeometry(margin, kTopMargin, width - 2 * margin, m_entry->sizeHint().height());
    m_entry->setFocus();

    const int buttonTop = m_entry->geometry().bottom() + 1 + kRowGap;
    const int pairLeft = (width - 2 * kButtonWidth - kButtonGap) / 2;
    auto* ok = new QPushButton(tr("OK"), this);
    ok->setObjectName(QString::fromLatin1(kOkButtonName));
    ok->setDefault(true);
    ok->setGeometry(pairLeft, buttonTop, kButtonWidth, kButtonHeight);
    connect(ok, &QPushButton::clicked, this, &InputDialog::accept);
    auto* cancel = new QPushButton(tr("Cancel"), this);
    cancel->setObjectName(QString::fromLatin1(kCancelButtonName));
    cancel->setAutoDefault(false);
    cancel->setGeometry(pairLeft + kButtonWidth + kButtonGap, buttonTop, kButtonWidth, kButtonHeight);
    connect(cancel, &QPushButton::clicked, this, &InputDialog::reject);

    int bottom = buttonTop + kButtonHeight;
    if (m_lockBox != nullptr) {
        m_lockBox->setGeometry(kTextMargin, bottom + kRowGap, width - 2 * kTextMargin,
                               m_lockBox->sizeHint().height());
        bottom = m_lockBox->geometry().bottom() + 1;
    }
    setFixedSize(width, bottom + kBottomMargin);
}

void InputDialog::placeOnScreen()
{
    QWidget* reference = m_setup.over != nullptr ? m_setup.over : parentWidget();
    const QScreen* screen = reference != nullptr ? reference->screen() : QGuiApplication::primaryScreen();
    if (screen == nullptr)
        return;
    const QRect desktop = screen->availableGeometry();
    const QSize outer = size() + DecorationSize(*this);

    QPoint topLeft = CentredOver(desktop, outer);
    if (m_setup.over != nullptr)
        topLeft = CentredOver(QRect(m_setup.over->mapToGlobal(QPoint(0, 0)), m_setup.over->size()), outer);
    const auto remembered = RememberedPlaces().find(m_setup.kind);
    if (isLocked() && remembered != RememberedPlaces().end())
        topLeft = remembered->second.topLeft;
    move(KeptOnScreen(topLeft, outer, desktop, kScreenMargin));
}

}  // namespace vexa::server
