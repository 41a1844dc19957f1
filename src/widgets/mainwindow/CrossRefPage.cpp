#include "mainwindow/CrossRefPage.h"

#include "catalogue/Codepage.h"
#include "catalogue/Filters.h"
#include "catalogue/NumberText.h"
#include "catalogue/QuvLib.h"
#include "reference/PatternFormat.h"
#include "reference/PatternReaders.h"
#include "ui/Prompt.h"

#include <QApplication>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace quv {

namespace {

const QString kHint = QStringLiteral(
    "Open another maker's pattern file (any format the export writes, or the makers' variants) "
    "to list the catalogue's closest equivalents, best first.");

QString Signed(const std::optional<double>& value, const char* unit)
{
    if (!value)
        return QStringLiteral("-");
    return ToQString(Format("%+.1f", {*value})) + QLatin1String(unit);
}

} // namespace

TCrossRefPage::TCrossRefPage(IPrompt& prompt, const TQuvFileList& catalogue, QWidget* parent)
    : QWidget(parent), prompt_(prompt), catalogue_(catalogue)
{
    setObjectName(QStringLiteral("tabCrossReference"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->setSpacing(4);

    auto* buttons = new QHBoxLayout;
    btnOpenReference = new QPushButton(QStringLiteral("&Open Pattern File..."), this);
    btnOpenReference->setObjectName(QStringLiteral("btnOpenReference"));
    btnCloseReference = new QPushButton(QStringLiteral("C&lose Reference"), this);
    btnCloseReference->setObjectName(QStringLiteral("btnCloseReference"));
    btnCloseReference->setEnabled(false);
    buttons->addWidget(btnOpenReference);
    buttons->addWidget(btnCloseReference);
    buttons->addStretch(1);
    layout->addLayout(buttons);

    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(6);
    grid->setVerticalSpacing(1);
    auto value = [this, grid](const char* name, const QString& title, int row) {
        grid->addWidget(new QLabel(title, this), row, 0);
        auto* label = new QLabel(this);
        label->setObjectName(QLatin1String(name));
        label->setTextInteractionFlags(Qt::TextSelectableByMouse);
        grid->addWidget(label, row, 1);
        return label;
    };
    lblReferenceName = value("lblReferenceName", QStringLiteral("Reference:"), 0);
    lblReferenceMaker = value("lblReferenceMaker", QStringLiteral("Maker:"), 1);
    lblReferenceFrequency = value("lblReferenceFrequency", QStringLiteral("Frequency, MHz:"), 2);
    lblReferenceGain = value("lblReferenceGain", QStringLiteral("Gain, dBi:"), 3);
    lblReferenceFile = value("lblReferenceFile", QStringLiteral("File:"), 4);
    grid->setColumnStretch(1, 1);
    layout->addLayout(grid);

    lblReferenceNote = new QLabel(kHint, this);
    lblReferenceNote->setObjectName(QStringLiteral("lblReferenceNote"));
    lblReferenceNote->setWordWrap(true);
    QPalette navy = lblReferenceNote->palette();
    navy.setColor(QPalette::WindowText, QColor(0, 0, 128));
    lblReferenceNote->setPalette(navy);
    layout->addWidget(lblReferenceNote);

    lblCandidate = new QLabel(this);
    lblCandidate->setObjectName(QStringLiteral("lblCandidate"));
    lblCandidate->setWordWrap(true);
    layout->addWidget(lblCandidate);
    layout->addStretch(1);

    connect(btnOpenReference, &QPushButton::clicked, this, [this] { btnOpenReferenceClick(); });
    connect(btnCloseReference, &QPushButton::clicked, this, [this] { CloseReference(); });
    ShowReference();
}

TCrossRefPage::~TCrossRefPage() = default;

const TReferencePattern* TCrossRefPage::Reference() const
{
    return reference_ ? &*reference_ : nullptr;
}

const TCrossReference* TCrossRefPage::Ranking() const
{
    return ranking_ ? &*ranking_ : nullptr;
}

void TCrossRefPage::btnOpenReferenceClick()
{
    const QString path =
        prompt_.ChooseOpenFile(this, QStringLiteral("Open Pattern File"), lastFolder_,
                               QString::fromStdString(PatternFileDialogFilter()));
    if (path.isEmpty())
        return;
    lastFolder_ = QFileInfo(path).absolutePath();
    OpenReference(path);
}

bool TCrossRefPage::OpenReference(const QString& path)
{
    std::optional<TReferencePattern> reference;
    try {
        reference = ReadPatternFile(path.toStdString());
    } catch (const EQuvError& e) {
        prompt_.Inform(this, ToQString(e.what()), IPrompt::Icon::Error);
        return false;
    }
    QApplication::setOverrideCursor(Qt::WaitCursor);
    // The catalogue does not change during a run: its numbers are read once, at the first use.
    if (!table_)
        table_ = std::make_unique<TCandidateTable>(catalogue_);
    ranking_ = RankCandidates(*reference, *table_);
    reference_ = std::move(reference);
    QApplication::restoreOverrideCursor();
    ShowReference();
    emit referenceChanged();
    return true;
}

void TCrossRefPage::CloseReference()
{
    if (!reference_)
        return;
    reference_.reset();
    ranking_.reset();
    ShowReference();
    emit referenceChanged();
}

void TCrossRefPage::CatalogueReloaded()
{
    table_.reset();
    ranking_.reset();
    if (reference_) {
        table_ = std::make_unique<TCandidateTable>(catalogue_);
        ranking_ = RankCandidates(*reference_, *table_);
    }
    ShowReference();
}

std::string TCrossRefPage::ItemText(const std::string& itemText, const TCandidateScore& score)
{
    return ScoreText(score.score) + "  " + itemText;
}

std::vector<std::string> TCrossRefPage::ItemTexts(const TCrossReference& ranking,
                                                  const TQuvFileList& catalogue)
{
    std::vector<const TQuvFile*> records;
    for (const auto& entry : ranking.ranked)
        records.push_back(entry.record);
    const std::vector<std::string> names = RankedItemNames(records, catalogue);
    std::vector<std::string> texts;
    texts.reserve(names.size());
    for (std::size_t k = 0; k < names.size(); ++k)
        texts.push_back(ItemText(names[k], ranking.ranked[k]));
    return texts;
}

void TCrossRefPage::ShowReference()
{
    btnCloseReference->setEnabled(reference_.has_value());
    lblCandidate->clear();
    if (!reference_) {
        for (QLabel* label : {lblReferenceName, lblReferenceMaker, lblReferenceFrequency,
                              lblReferenceGain, lblReferenceFile})
            label->clear();
        lblReferenceNote->setText(kHint);
        return;
    }
    const TReferencePattern& r = *reference_;
    lblReferenceName->setText(ToQString(r.name));
    lblReferenceMaker->setText(ToQString(r.maker));
    lblReferenceFrequency->setText(r.frequencyMHz ? ToQString(FloatToStrGeneral(*r.frequencyMHz))
                                                  : QStringLiteral("not given"));
    QString gain = QStringLiteral("not given");
    if (r.gainDBi)
        gain = ToQString(Format("%.2f", {*r.gainDBi}));
    if (r.gainDBd)
        gain += QStringLiteral(" (%1 dBd)").arg(ToQString(Format("%.2f", {*r.gainDBd})));
    lblReferenceGain->setText(gain);
    lblReferenceFile->setText(ToQString(std::string(PatternFormatName(r.format)) + ", " +
                                        r.fileName.substr(r.fileName.find_last_of('/') + 1)));
    QStringList notes;
    if (ranking_) {
        if (!ranking_->note.empty())
            notes << ToQString(ranking_->note);
        if (ranking_->skipped > 0)
            notes << QStringLiteral("%1 antenna(s) left out: pattern levels that are not numbers.")
                         .arg(ranking_->skipped);
        notes << QStringLiteral("%1 candidate(s), best first.").arg(ranking_->ranked.size());
    }
    for (const std::string& w : r.warnings)
        notes << ToQString(w);
    lblReferenceNote->setText(notes.join(QLatin1Char('\n')));
}

void TCrossRefPage::ShowCandidate(const TQuvFile* record)
{
    lblCandidate->clear();
    if (!ranking_ || !record)
        return;
    for (const TCandidateScore& s : ranking_->ranked) {
        if (s.record != record)
            continue;
        const auto dB = [](double v) { return ToQString(Format("%.2f", {v})); };
        lblCandidate->setText(
            QStringLiteral("Score %1: main beam difference %2 dB (azimuth), %3 dB (elevation); "
                           "beamwidth %4 (azimuth), %5 (elevation); tilt %6; gain %7; "
                           "side and back lobes %8 dB (azimuth), %9 dB (elevation)")
                .arg(ToQString(ScoreText(s.score)), dB(s.azimuthMainBeamRms),
                     dB(s.elevationMainBeamRms), Signed(s.azimuthBeamwidth, " deg"),
                     Signed(s.elevationBeamwidth, " deg"), Signed(s.tilt, " deg"),
                     Signed(s.gain, " dB"), dB(s.azimuthRms), dB(s.elevationRms)));
        return;
    }
}

} // namespace quv
