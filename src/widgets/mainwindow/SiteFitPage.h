// The "Site Fit" page of the main window: the planner states the site (mast height, cell radius,
// sector, tilt range, path loss slope, minimum margin) and ranks the matches the other pages
// narrowed, or the whole catalogue, for it. The main window lists the ranking as its matches;
// the page shows the selected antenna's footprint at its recommended tilt beside the best one's.
#pragma once

#include "plot/SiteFitView.h"
#include "reference/SiteFit.h"

#include <QWidget>

#include <optional>
#include <string>
#include <vector>

class QComboBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;

namespace quv {

class IPrompt;

// The two footprints, painted through the canvas at the widget's size.
class TSiteMapsView : public QWidget {
    Q_OBJECT
public:
    explicit TSiteMapsView(QWidget* parent = nullptr);
    void Show(std::vector<TSiteMapPanel> panels, const TSiteScenario& scenario);
    const std::vector<TSiteMapPanel>& Panels() const { return panels_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    std::vector<TSiteMapPanel> panels_;
    TSiteScenario scenario_;
};

class TSiteFitPage : public QWidget {
    Q_OBJECT
public:
    // Ranks records of `catalogue`, which must outlive the page.
    TSiteFitPage(IPrompt& prompt, const TQuvFileList& catalogue, QWidget* parent = nullptr);
    ~TSiteFitPage() override;

    // What the other pages narrowed: offered as what to rank (copied; the records stay the
    // catalogue's).
    void SetMatches(const TQuvFileList& matches);
    // The site in the fields, or nothing with the reason in `problem`.
    std::optional<TSiteScenario> ReadScenario(std::string& problem) const;
    // Ranks the chosen antennas for the site in the fields; a site that cannot be evaluated is
    // refused with a message and the ranking shown stays. Returns true when it ranked.
    bool Rank();
    // Nothing before the first ranking.
    const TSiteRanking* Ranking() const;
    // The catalogue was loaded again and its records are new: the ranking and the matches go.
    void CatalogueReloaded();
    // The footprints of `record` (when ranked) and of the best antenna.
    void ShowSelected(const TQuvFile* record);

    // The list text of a ranked antenna: its figures first, so they show in a narrow list.
    static std::string ItemText(const std::string& itemText, const TSiteEntry& entry);
    // The texts of the ranking in order; a part number that several records share carries its
    // band, as on the other pages.
    static std::vector<std::string> ItemTexts(const TSiteRanking& ranking,
                                              const TQuvFileList& catalogue);

    QLineEdit* edtHeight;
    QLineEdit* edtRadius;
    QLineEdit* edtSector;
    QLineEdit* edtTiltMin;
    QLineEdit* edtTiltMax;
    QLineEdit* edtSlope;
    QLineEdit* edtMinMargin;
    QComboBox* cbxSiteScope; // 0: the matches, 1: the whole catalogue
    QPushButton* btnRank;
    QProgressBar* prgSiteFit;
    QLabel* lblSiteNote;
    TSiteMapsView* pbxSiteMaps;

signals:
    // A ranking was made or dropped: the matches follow it.
    void rankingChanged();

private:
    void UpdateScope();
    void ShowNote();

    IPrompt& prompt_;
    const TQuvFileList& catalogue_;
    TQuvFileList matches_;
    std::optional<TSiteRanking> ranking_;
    const TQuvFile* shown_ = nullptr;
};

} // namespace quv
