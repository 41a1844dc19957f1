#include "mainwindow/SiteFitPage.h"

#include "catalogue/Codepage.h"
#include "catalogue/Filters.h"
#include "catalogue/NumberText.h"
#include "ui/Prompt.h"

#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

#include <cctype>
#include <cmath>

namespace quv {

namespace {

// The map's squares across on screen: finer than the widget's pixels would be wasted.
constexpr int kScreenMapCells = 160;

QString Number(double value)
{
    return ToQString(FloatToStrGeneral(value));
}

} // namespace

TSiteMapsView::TSiteMapsView(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("pbxSiteMaps"));
    setAutoFillBackground(true);
    QPalette white = palette();
    white.setColor(QPalette::Window, Qt::white);
    setPalette(white);
    setMinimumHeight(100);
}

void TSiteMapsView::Show(std::vector<TSiteMapPanel> panels, const TSiteScenario& scenario)
{
    panels_ = std::move(panels);
    scenario_ = scenario;
    update();
}

void TSiteMapsView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    TQPainterCanvas canvas(painter);
    DrawSiteFitMaps(canvas, {2, 2, width() - 2, height() - 2}, panels_, scenario_, 2);
}

TSiteFitPage::TSiteFitPage(IPrompt& prompt, const TQuvFileList& catalogue, QWidget* parent)
    : QWidget(parent), prompt_(prompt), catalogue_(catalogue)
{
    setObjectName(QStringLiteral("tabSiteFit"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 2, 4, 2);
    layout->setSpacing(2);

    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(3);
    grid->setVerticalSpacing(2);
    const TSiteScenario defaults;
    const auto field = [this, grid](const char* name, const QString& title, double value,
                                    const QString& unit, int row, int column) {
        if (!title.isEmpty())
            grid->addWidget(new QLabel(title, this), row, column);
        auto* edit = new QLineEdit(Number(value), this);
        edit->setObjectName(QLatin1String(name));
        edit->setMaximumWidth(46);
        grid->addWidget(edit, row, column + 1);
        if (!unit.isEmpty())
            grid->addWidget(new QLabel(unit, this), row, column + 2);
        return edit;
    };
    edtHeight =
        field("edtHeight", QStringLiteral("Height"), defaults.height, QStringLiteral("m"), 0, 0);
    edtRadius =
        field("edtRadius", QStringLiteral("Radius"), defaults.radius, QStringLiteral("m"), 0, 3);
    edtSector =
        field("edtSector", QStringLiteral("Sector"), defaults.sector, QStringLiteral("deg"), 0, 6);
    edtTiltMin =
        field("edtTiltMin", QStringLiteral("Tilt"), defaults.tiltMin, QStringLiteral("to"), 1, 0);
    edtTiltMax = field("edtTiltMax", QString(), defaults.tiltMax, QStringLiteral("deg"), 1, 3);
    edtSlope =
        field("edtSlope", QStringLiteral("Slope"), defaults.slope, QStringLiteral("dB/dec"), 1, 6);
    edtMinMargin = field("edtMinMargin", QStringLiteral("Margin"), defaults.minMargin,
                         QStringLiteral("dB"), 2, 0);
    edtHeight->setToolTip(QStringLiteral("Antenna height above flat ground, metres"));
    edtRadius->setToolTip(QStringLiteral("Cell radius, metres"));
    edtSector->setToolTip(QStringLiteral("Sector width centred on the boresight, 1 to 360 deg"));
    edtTiltMin->setToolTip(QStringLiteral("Mechanical tilts tried, degrees down, 0.5 apart"));
    edtSlope->setToolTip(
        QStringLiteral("Path loss per decade of distance: 20 is free space, 35 usual in towns"));
    edtMinMargin->setToolTip(
        QStringLiteral("How far the cell level must stay above the level spilled beyond, dB"));
    grid->setColumnStretch(9, 1);

    cbxSiteScope = new QComboBox(this);
    cbxSiteScope->setObjectName(QStringLiteral("cbxSiteScope"));
    grid->addWidget(cbxSiteScope, 2, 3, 1, 5);
    btnRank = new QPushButton(QStringLiteral("&Rank"), this);
    btnRank->setObjectName(QStringLiteral("btnRank"));
    btnRank->setAutoDefault(false);
    grid->addWidget(btnRank, 2, 8, 1, 2);
    layout->addLayout(grid);

    prgSiteFit = new QProgressBar(this);
    prgSiteFit->setObjectName(QStringLiteral("prgSiteFit"));
    prgSiteFit->setTextVisible(false);
    prgSiteFit->setFixedHeight(8);
    prgSiteFit->setVisible(false);
    layout->addWidget(prgSiteFit);

    lblSiteNote = new QLabel(this);
    lblSiteNote->setObjectName(QStringLiteral("lblSiteNote"));
    QPalette navy = lblSiteNote->palette();
    navy.setColor(QPalette::WindowText, QColor(0, 0, 128));
    lblSiteNote->setPalette(navy);
    layout->addWidget(lblSiteNote);

    pbxSiteMaps = new TSiteMapsView(this);
    layout->addWidget(pbxSiteMaps, 1);

    connect(btnRank, &QPushButton::clicked, this, [this] { Rank(); });
    UpdateScope();
    ShowNote();
}

TSiteFitPage::~TSiteFitPage() = default;

void TSiteFitPage::SetMatches(const TQuvFileList& matches)
{
    matches_.Clear();
    std::vector<TQuvFileList::Item> items(matches.begin(), matches.end());
    matches_.AddMany(std::move(items));
    UpdateScope();
}

void TSiteFitPage::UpdateScope()
{
    const QSignalBlocker block(cbxSiteScope);
    cbxSiteScope->clear();
    cbxSiteScope->addItem(QStringLiteral("The %1 matches").arg(matches_.Count()));
    cbxSiteScope->addItem(QStringLiteral("The whole catalogue (%1)").arg(catalogue_.Count()));
    // Newly narrowed matches are what the planner came to rank; with none, the whole catalogue
    // is what there is.
    cbxSiteScope->setCurrentIndex(matches_.Count() > 0 ? 0 : 1);
}

std::optional<TSiteScenario> TSiteFitPage::ReadScenario(std::string& problem) const
{
    TSiteScenario s;
    const struct {
        QLineEdit* edit;
        double* value;
        const char* name;
    } fields[] = {{edtHeight, &s.height, "height"},         {edtRadius, &s.radius, "radius"},
                  {edtSector, &s.sector, "sector"},         {edtTiltMin, &s.tiltMin, "lowest tilt"},
                  {edtTiltMax, &s.tiltMax, "highest tilt"}, {edtSlope, &s.slope, "slope"},
                  {edtMinMargin, &s.minMargin, "margin"}};
    for (const auto& f : fields) {
        const std::string text = FromQString(f.edit->text());
        if (!TryStrToFloat(text, *f.value) || !std::isfinite(*f.value)) {
            problem = "The " + std::string(f.name) + " '" + text + "' is not a number.";
            return std::nullopt;
        }
    }
    problem = ScenarioProblem(s);
    if (!problem.empty()) {
        problem[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(problem[0])));
        problem += ".";
        return std::nullopt;
    }
    return s;
}

bool TSiteFitPage::Rank()
{
    std::string problem;
    const auto scenario = ReadScenario(problem);
    if (!scenario) {
        prompt_.Inform(this, ToQString(problem), IPrompt::Icon::Error);
        return false;
    }
    const TQuvFileList& list = cbxSiteScope->currentIndex() == 0 ? matches_ : catalogue_;
    prgSiteFit->setRange(0, std::max(1, list.Count()));
    prgSiteFit->setValue(0);
    prgSiteFit->setVisible(true);
    btnRank->setEnabled(false);
    QApplication::setOverrideCursor(Qt::WaitCursor);
    QElapsedTimer sincePaint;
    sincePaint.start();
    // The bar is painted a few times a second, not per antenna: each paint is a round trip to
    // the display. Input waits, so nothing can change the catalogue under the ranking.
    ranking_ = RankSite(list, *scenario, [&](int done, int) {
        if (sincePaint.elapsed() < 100)
            return;
        prgSiteFit->setValue(done);
        QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        sincePaint.restart();
    });
    QApplication::restoreOverrideCursor();
    btnRank->setEnabled(true);
    prgSiteFit->setVisible(false);
    shown_ = nullptr;
    ShowNote();
    ShowSelected(nullptr);
    emit rankingChanged();
    return true;
}

const TSiteRanking* TSiteFitPage::Ranking() const
{
    return ranking_ ? &*ranking_ : nullptr;
}

void TSiteFitPage::CatalogueReloaded()
{
    matches_.Clear();
    ranking_.reset();
    shown_ = nullptr;
    UpdateScope();
    ShowNote();
    pbxSiteMaps->Show({}, {});
}

void TSiteFitPage::ShowNote()
{
    if (!ranking_) {
        lblSiteNote->setText(QStringLiteral("State the site and rank: best cell first, among "
                                            "those that keep the margin."));
        return;
    }
    int meeting = 0;
    for (const TSiteEntry& e : ranking_->ranked)
        meeting += e.meetsMargin ? 1 : 0;
    QString note =
        QStringLiteral("%1 ranked, %2 keep the margin").arg(ranking_->ranked.size()).arg(meeting);
    if (!ranking_->leftOut.empty())
        note += QStringLiteral("; %1 not ranked (no gain or broken pattern)")
                    .arg(ranking_->leftOut.size());
    lblSiteNote->setText(note);
    QString leftOut;
    for (const TSiteLeftOut& l : ranking_->leftOut)
        leftOut += ToQString(l.record->PartNumber + ": " + l.reason) + QLatin1Char('\n');
    lblSiteNote->setToolTip(leftOut.trimmed());
}

void TSiteFitPage::ShowSelected(const TQuvFile* record)
{
    if (!ranking_ || ranking_->ranked.empty()) {
        pbxSiteMaps->Show({}, {});
        return;
    }
    const TSiteEntry* selected = nullptr;
    for (const TSiteEntry& e : ranking_->ranked)
        if (e.record == record)
            selected = &e;
    shown_ = selected ? record : nullptr;
    const TSiteEntry& best = ranking_->ranked.front();
    std::vector<TSiteMapPanel> panels;
    if (selected && selected != &best)
        panels.push_back(
            SiteMapPanel(*selected, ranking_->scenario, "Selected: ", kScreenMapCells));
    panels.push_back(SiteMapPanel(best, ranking_->scenario, "Best: ", kScreenMapCells));
    pbxSiteMaps->Show(std::move(panels), ranking_->scenario);
}

std::string TSiteFitPage::ItemText(const std::string& itemText, const TSiteEntry& entry)
{
    // "-61.2 dB  +8.4  2.5\xB0  TD2165-18": cell level, margin, mechanical tilt; a margin that
    // misses the minimum is marked.
    return Format("%.1f dB  %+.1f", {entry.figures.cellLevel, entry.figures.Margin()}) +
           (entry.meetsMargin ? "" : "!") + "  " + Format("%.1f", {entry.figures.tilt}) + "\xB0  " +
           itemText;
}

std::vector<std::string> TSiteFitPage::ItemTexts(const TSiteRanking& ranking,
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

} // namespace quv
