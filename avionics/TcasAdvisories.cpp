#include "avionics/Adc.h"
#include "avionics/Aws.h"
#include "avionics/Tcas.h"

#include <algorithm>
#include <cmath>
#include <tuple>
#include <utility>

namespace tavi {

namespace {

// A test has to hold for longer than this before its advisory is issued.
constexpr uint32_t kConfirmationMs = 2500;
// No advisory is raised this close to the ground.
constexpr double kAdvisoryFloorFt = 50.0;
constexpr float kProximateRangeNm = 6.0f;
constexpr float kProximateHeightFt = 1200.0f;
// An object already under an advisory keeps it within these wider margins.
constexpr double kHeldTauMarginS = 5.0;
constexpr double kHeldRangeMarginNm = 0.2;
constexpr double kHeldHeightMarginFt = 100.0;
constexpr int32_t kTaOnlyLevel = 2;

// Seconds for the crew to respond to a new advisory, and to a changed one.
constexpr double kInitialResponseS = 5.0;
constexpr double kChangeResponseS = 2.5;
constexpr uint32_t kFirstChangeAfterMs = 9000;
constexpr uint32_t kChangeIntervalMs = 5000;
constexpr double kDescendAllowedAboveFt = 1100.0;
// Increasing a descent needs this much radio altitude, more when not yet descending.
constexpr double kIncreaseDescentDescendingFt = 1450.0;
constexpr double kIncreaseDescentLevelFt = 1650.0;
constexpr double kClimbWithSpeedFpm = 1000.0;
// A reversal that crosses a threat this close in altitude is not made.
constexpr double kReversalCrossingLimitFt = 300.0;
constexpr double kNoSeparation = 1000000.0;

const TcasSensitivityLevel& thresholds(int32_t level) {
    return kTcasSensitivityLevels[static_cast<std::size_t>(
        std::clamp<int32_t>(level, 0, static_cast<int32_t>(kTcasSensitivityLevels.size()) - 1))];
}

// The horizontal and the vertical test of a threat; an object already under the advisory is
// held with wider margins.
bool isThreat(double tauLimit, double dmod, double heightLimit, double tau, double range,
              double verticalTau, double predictedSeparation, bool held) {
    const double tauMargin = held ? kHeldTauMarginS : 0.0;
    const double rangeMargin = held ? kHeldRangeMarginNm : 0.0;
    const double heightMargin = held ? kHeldHeightMarginFt : 0.0;
    // Traffic that does not close is no new threat, however near: only one already under the
    // advisory is held within DMOD while the range opens.
    const bool closing = tau >= 0.0;
    const bool horizontal =
        held ? (closing && tau <= tauLimit + tauMargin) || range <= dmod + rangeMargin
             : closing && (tau <= tauLimit || range <= dmod);
    const bool vertical = (verticalTau >= 0.0 && verticalTau <= tauLimit + tauMargin) ||
                          std::fabs(predictedSeparation) <= heightLimit + heightMargin;
    return horizontal && vertical;
}

// The self-test's four targets: other traffic, proximate, TA and RA.
struct TestTarget {
    uint32_t id;
    double east;
    double north;
    double range;
    int32_t relativeAltitudeHundreds;
    double verticalSpeed;
    int32_t threatLevel;
};

constexpr TestTarget kTestTargets[] = {
    {1, -2.0, 3.0, 3.6, 10, 0.0, kTcasOtherTraffic},
    {2, 2.0, 3.0, 3.6, 2, -600.0, kTcasProximate},
    {3, -2.0, 0.0, 2.0, -2, 600.0, kTcasTrafficAdvisory},
    {4, 2.0, 0.0, 2.0, -10, 0.0, kTcasResolutionAdvisory},
};

} // namespace

// What a review of a continuing resolution advisory has found so far.
struct Tcas::RaReview {
    const TargetSet& threats;
    uint32_t now;
    // The current advisory's separation as the last prediction left it.
    double previousSeparation;
    // Every threat's range opens.
    bool diverging;
    // The altitude difference to the threat nearest in altitude, signed.
    double closest;
    KindList tried;
};

bool Tcas::isTrafficAdvisory(int32_t level, double tau, double range, double verticalTau,
                             double predictedSeparation, bool alreadyInSet) {
    const TcasSensitivityLevel& row = thresholds(level);
    return isThreat(row.taTau, row.taDmod, row.taZthr, tau, range, verticalTau, predictedSeparation,
                    alreadyInSet);
}

// TA only, selected or near the ground, gives no resolution advisory, not even one under way:
// turned into "do not climb", an advisory under way would keep the aircraft from climbing away
// from the ground or ask for a different one against the crew's choice.
bool Tcas::isResolutionAdvisory(int32_t level, double tau, double range, double verticalTau,
                                double predictedSeparation, bool alreadyInSet) {
    if (level <= kTaOnlyLevel) {
        return false;
    }
    const TcasSensitivityLevel& row = thresholds(level);
    // Tested against ALIM itself, a threat projected to pass a little beyond ALIM, inside the
    // margin an advisory aims for, got none.
    return isThreat(row.raTau, row.raDmod, row.raZthr, tau, range, verticalTau, predictedSeparation,
                    alreadyInSet);
}

double Tcas::predictAltitude(double altitude, double speedNow, double speedAimedAt,
                             double seconds) {
    return altitude + (speedNow + (speedAimedAt - speedNow) * 0.5) * seconds / 60.0;
}

double Tcas::alim() const {
    return thresholds(sensitivityLevel).alim;
}

double Tcas::separationOf(int32_t kind) const {
    return std::fabs(advisoryKinds[static_cast<std::size_t>(kind)].minimumSeparation);
}

void Tcas::evaluateAdvisories(uint32_t now) {
    if (selfTest) {
        placeTestTargets();
        return;
    }
    TargetSet newTa;
    TargetSet newRa;
    for (uint32_t slot = 0; slot < trafficCount; ++slot) {
        classify(traffic[slot], slot, now, newTa, newRa);
    }
    const bool raWasOn = !raSet.empty();
    if (!newRa.empty() && !raWasOn) {
        beginRa(newRa, now);
    } else if (!newRa.empty()) {
        continueRa(newRa, now);
    } else if (raWasOn) {
        // An advisory that TA only ends is no conflict cleared, and its threat no new traffic.
        if (sensitivityLevel > kTaOnlyLevel) {
            callout(sounds::kTcasClearOfConflict);
        }
    } else if (taSet.empty() && !newTa.empty()) {
        callout(sounds::kTcasTraffic);
    }
    taSet = std::move(newTa);
    raSet = std::move(newRa);
}

void Tcas::placeTestTargets() {
    const int32_t ownHundreds = roundToHundreds(adc ? adc->indicatedAltitude : 0.0);
    testTargetsShown = true;
    trafficCount = std::size(kTestTargets);
    for (std::size_t slot = 0; slot < std::size(kTestTargets); ++slot) {
        const TestTarget& target = kTestTargets[slot];
        TcasTraffic& record = traffic[slot];
        record.id = target.id;
        record.east = target.east;
        record.north = target.north;
        record.range = target.range;
        record.relativeAltitudeHundreds = target.relativeAltitudeHundreds;
        record.verticalSpeed = target.verticalSpeed;
        record.threatLevel = target.threatLevel;
        record.altitudeHundreds = ownHundreds + target.relativeAltitudeHundreds;
        record.onGround = false;
        record.isNew = false;
        record.ignored = false;
        // No test's time runs for a target: an object the next scan lists under its id starts
        // afresh.
        record.conditionSince = 0;
    }
    for (std::size_t slot = std::size(kTestTargets); slot < kMaxTraffic; ++slot) {
        traffic[slot].id = 0;
    }
}

// Other traffic, proximate, or, once its test has held long enough, a traffic or resolution
// advisory. One time serves both tests, so time under one counts towards the other.
void Tcas::classify(TcasTraffic& record, uint32_t slot, uint32_t now, TargetSet& newTa,
                    TargetSet& newRa) const {
    if (record.onGround || record.ignored) {
        record.threatLevel = kTcasOtherTraffic;
        record.conditionSince = 0;
        return;
    }
    const auto confirm = [&](int32_t level, TargetSet& set) {
        if (record.conditionSince == 0) {
            record.conditionSince = now;
        }
        if (now - record.conditionSince > kConfirmationMs) {
            set.emplace(record.id, slot);
            record.threatLevel = level;
        }
    };
    if (ownRadioAltitude > kAdvisoryFloorFt) {
        if (isResolutionThreat(record)) {
            confirm(kTcasResolutionAdvisory, newRa);
            return;
        }
        // An object whose resolution advisory TA only ended stays a traffic advisory.
        const bool held = taSet.contains(record.id) || raSet.contains(record.id);
        if (isTrafficAdvisory(sensitivityLevel, record.tau, record.range, record.verticalTau,
                              record.predictedSeparation, held)) {
            confirm(kTcasTrafficAdvisory, newTa);
            return;
        }
    }
    const bool proximate = static_cast<float>(record.range) <= kProximateRangeNm &&
                           std::fabs(static_cast<float>(ownAltitude) -
                                     static_cast<float>(record.altitude)) <= kProximateHeightFt;
    record.threatLevel = proximate ? kTcasProximate : kTcasOtherTraffic;
    record.conditionSince = 0;
}

// A threat under an advisory is judged on the encounter, not on the manoeuvre: the separation
// the advisory's climb or descent makes holds only while the crew flies it, so the advisory
// stays while the threat still closes and ends once the range opens past the held margins.
bool Tcas::isResolutionThreat(const TcasTraffic& record) const {
    const bool held = raSet.contains(record.id);
    if (held && record.tau >= 0.0 && sensitivityLevel > kTaOnlyLevel) {
        return isResolutionAdvisory(sensitivityLevel, record.tau, record.range, 0.0, 0.0, held);
    }
    return isResolutionAdvisory(sensitivityLevel, record.tau, record.range, record.verticalTau,
                                record.predictedSeparation, held);
}

// No advisory sends the aircraft down this close to the ground, neither a new one nor a change.
bool Tcas::descentAllowed() const {
    return ownRadioAltitude > kDescendAllowedAboveFt;
}

void Tcas::beginRa(const TargetSet& threats, uint32_t now) {
    const RaSense sense = chooseRaSense(threats);
    raKind = chooseInitialRa(threats, sense, now);
    raAnnounced = true;
    announceFirstRa(raKind);
}

void Tcas::continueRa(const TargetSet& threats, uint32_t now) {
    const int32_t kind = updateRa(threats, now);
    if (kind != raKind) {
        raAnnounced = false;
        announceRaChange(kind, raKind);
        raKind = kind;
    }
}

// Flies each candidate against every threat: the own aircraft moves its vertical speed
// linearly to the advisory's during the response delay and holds it, each threat holds its
// own. The best candidate does not cross a threat and keeps the largest separation of at least
// ALIM; failing that, the one with the largest separation.
int32_t Tcas::selectRaKind(const TargetSet& threats, const KindList& candidates,
                           double responseDelay) {
    for (int32_t candidate : candidates) {
        TcasAdvisoryKind& kind = advisoryKinds[static_cast<std::size_t>(candidate)];
        std::tie(kind.minimumSeparation, kind.crossing) =
            predictSeparation(threats, kind.targetVerticalSpeed, responseDelay);
    }

    std::optional<int32_t> best;
    for (int32_t candidate : candidates) {
        const TcasAdvisoryKind& kind = advisoryKinds[static_cast<std::size_t>(candidate)];
        if (!kind.crossing && separationOf(candidate) >= alim() &&
            (!best || separationOf(candidate) > separationOf(*best))) {
            best = candidate;
        }
    }
    if (best) {
        return *best;
    }
    for (int32_t candidate : candidates) {
        if (separationOf(candidate) > 0.0 &&
            (!best || separationOf(candidate) > separationOf(*best))) {
            best = candidate;
        }
    }
    return best.value_or(kRaClimb);
}

std::pair<double, bool> Tcas::predictSeparation(const TargetSet& threats, double target,
                                                double responseDelay) const {
    double minimum = kNoSeparation;
    bool crossing = false;
    for (const auto& [id, slot] : threats) {
        const TcasTraffic& threat = traffic[slot];
        double separation = threat.altitude - ownAltitude;
        if (threat.tau >= 0.0) {
            const double ahead = predictionTime(threat.tau);
            // A closest approach within the response delay comes before the own vertical speed
            // has reached the target: the prediction flies only the part of the change made.
            const double own =
                responseDelay >= ahead
                    ? predictAltitude(ownAltitude, ownVerticalSpeed,
                                      ownVerticalSpeed +
                                          (target - ownVerticalSpeed) *
                                              (responseDelay > 0.0 ? ahead / responseDelay : 1.0),
                                      ahead)
                    : predictAltitude(
                          predictAltitude(ownAltitude, ownVerticalSpeed, target, responseDelay),
                          target, target, ahead - responseDelay);
            separation = threat.altitude + threat.verticalSpeed * ahead / 60.0 - own;
        }
        if (std::fabs(separation) < std::fabs(minimum)) {
            minimum = separation;
        }
        // Crossing compares each threat's own prediction with its separation under the advisory.
        crossing = crossing || threat.predictedSeparation * separation < 0.0;
    }
    return {minimum, crossing};
}

RaSense Tcas::chooseRaSense(const TargetSet& threats) {
    KindList candidates{kRaClimb};
    if (descentAllowed()) {
        candidates.push_back(kRaDescend);
    }
    if (threats.size() > 1) {
        candidates.push_back(kRaLevelOff);
    }
    switch (selectRaKind(threats, candidates, kInitialResponseS)) {
    case kRaClimb:
        return kRaUp;
    case kRaDescend:
        return kRaDown;
    default:
        return kRaLevel;
    }
}

int32_t Tcas::chooseInitialRa(const TargetSet& threats, RaSense sense, uint32_t now) {
    KindList candidates;
    switch (sense) {
    case kRaUp:
        candidates = {ownVerticalSpeed >= kClimbWithSpeedFpm ? kRaMaintainClimb : kRaClimb,
                      kRaDontDescend};
        break;
    case kRaDown:
        candidates = {ownVerticalSpeed <= -kClimbWithSpeedFpm ? kRaMaintainDescent : kRaDescend,
                      kRaDontClimb};
        break;
    case kRaLevel:
        candidates = {kRaLevelOff};
        break;
    }
    raStart = now;
    raLastChange = now;
    return selectRaKind(threats, candidates, kInitialResponseS);
}

// A preventive advisory allows level flight as well as its limit: it is chosen only when both
// keep ALIM without crossing a threat, or the crew, flying it level or at its limit, would meet
// the threat it was meant to keep away.
int32_t Tcas::selectWeakerRa(const TargetSet& threats, const KindList& candidates) {
    selectRaKind(threats, candidates, kChangeResponseS);
    const auto [levelSeparation, levelCrossing] = predictSeparation(threats, 0.0, kChangeResponseS);
    const bool levelKeepsAlim = !levelCrossing && std::fabs(levelSeparation) > alim();
    std::optional<int32_t> weakest;
    for (int32_t candidate : candidates) {
        const TcasAdvisoryKind& kind = advisoryKinds[static_cast<std::size_t>(candidate)];
        if (levelKeepsAlim && !kind.crossing && separationOf(candidate) > alim() &&
            (!weakest || separationOf(candidate) < separationOf(*weakest))) {
            weakest = candidate;
        }
    }
    return weakest.value_or(raKind);
}

int32_t Tcas::keepBestSeparation(const KindList& tried, bool stampChange, uint32_t now) {
    int32_t best = raKind;
    for (int32_t kind : tried) {
        if (separationOf(kind) > separationOf(best)) {
            best = kind;
        }
    }
    if (best != raKind && stampChange) {
        raLastChange = now;
    }
    return best;
}

// The advisory changes at most every 5 s and not in its first 9 s. A preventive advisory that
// keeps ALIM stays; otherwise the review by sense strengthens, weakens or reverses it.
int32_t Tcas::updateRa(const TargetSet& threats, uint32_t now) {
    const int32_t current = raKind;
    const TcasAdvisoryKind& currentKind = advisoryKinds[static_cast<std::size_t>(current)];
    if (!descentAllowed() && currentKind.sense == kRaDown && currentKind.corrective) {
        raLastChange = now;
        return kRaDontClimb;
    }
    if (now - raStart < kFirstChangeAfterMs || now - raLastChange < kChangeIntervalMs) {
        return current;
    }
    RaReview review{threats, now, separationOf(current), true, kNoSeparation, {}};
    selectRaKind(threats, {current}, 0.0);
    const TcasAdvisoryKind& kind = advisoryKinds[static_cast<std::size_t>(current)];
    if (!kind.corrective && separationOf(current) > alim()) {
        return current;
    }
    for (const auto& [id, slot] : threats) {
        review.diverging = review.diverging && traffic[slot].tau < 0.0;
        const double difference = traffic[slot].altitude - ownAltitude;
        if (std::fabs(difference) < std::fabs(review.closest)) {
            review.closest = difference;
        }
    }
    if (kind.sense == kRaLevel) {
        return reviewLevelOff(review, current);
    }
    if (!kind.corrective) {
        return reviewPreventive(review, current);
    }
    return kind.sense == kRaUp ? reviewClimb(review, current) : reviewDescent(review, current);
}

int32_t Tcas::reviewClimb(RaReview& review, int32_t current) {
    if (review.diverging) {
        if (std::fabs(review.closest) > alim()) {
            raLastChange = review.now;
            return kRaDontDescend;
        }
        return current;
    }
    if (separationOf(current) <= alim()) {
        if (current != kRaIncreaseClimb && tryKind(review, kRaIncreaseClimb)) {
            return kRaIncreaseClimb;
        }
        return descentAllowed() ? reverseTo(review, kRaDescend) : fallBack(review);
    }
    return weakenOrKeep(
        review, current,
        {kRaDontDescend, kRaDontDescend500, kRaDontDescend1000, kRaDontDescend2000});
}

int32_t Tcas::reviewDescent(RaReview& review, int32_t current) {
    if (review.diverging) {
        if (std::fabs(review.closest) > alim()) {
            raLastChange = review.now;
            return kRaDontClimb;
        }
        return current;
    }
    if (separationOf(current) <= alim()) {
        if (current == kRaIncreaseDescent) {
            return reverseTo(review, kRaClimb);
        }
        const bool increaseAllowed =
            (ownRadioAltitude >= kIncreaseDescentDescendingFt && ownVerticalSpeed < 0.0) ||
            (ownRadioAltitude >= kIncreaseDescentLevelFt && ownVerticalSpeed >= 0.0);
        if (!increaseAllowed) {
            return fallBack(review);
        }
        if (tryKind(review, kRaIncreaseDescent)) {
            return kRaIncreaseDescent;
        }
        return reverseTo(review, kRaClimb);
    }
    return weakenOrKeep(review, current,
                        {kRaDontClimb, kRaDontClimb500, kRaDontClimb1000, kRaDontClimb2000});
}

// A corrective advisory that keeps ALIM weakens to a preventive one once no threat is within
// ALIM in altitude.
int32_t Tcas::weakenOrKeep(RaReview& review, int32_t current, const KindList& weaker) {
    if (std::fabs(review.closest) > alim()) {
        const int32_t kind = selectWeakerRa(review.threats, weaker);
        if (kind != current) {
            raLastChange = review.now;
            return kind;
        }
        return fallBack(review);
    }
    return current;
}

// A preventive advisory that no longer keeps ALIM turns corrective in its sense, or reverses.
int32_t Tcas::reviewPreventive(RaReview& review, int32_t current) {
    if (review.diverging) {
        return current;
    }
    const bool up = advisoryKinds[static_cast<std::size_t>(current)].sense == kRaUp;
    if (current == kRaDontDescend && tryKind(review, kRaClimb)) {
        return kRaClimb;
    }
    if (current == kRaDontClimb && descentAllowed() && tryKind(review, kRaDescend)) {
        return kRaDescend;
    }
    if (up && !descentAllowed()) {
        return fallBack(review);
    }
    return reverseTo(review, up ? kRaDescend : kRaClimb);
}

int32_t Tcas::reviewLevelOff(RaReview& review, int32_t current) {
    if (separationOf(current) > alim()) {
        return current;
    }
    const KindList candidates =
        descentAllowed() ? KindList{kRaClimb, kRaDescend} : KindList{kRaClimb};
    const int32_t kind = selectRaKind(review.threats, candidates, kChangeResponseS);
    review.tried = candidates;
    review.tried.push_back(kRaLevelOff);
    if (separationOf(kind) > alim()) {
        raLastChange = review.now;
        return kind;
    }
    return fallBack(review);
}

// Succeeds when the kind keeps ALIM and more than the current advisory did.
bool Tcas::tryKind(RaReview& review, int32_t kind) {
    review.tried.push_back(kind);
    selectRaKind(review.threats, {kind}, kChangeResponseS);
    if (separationOf(kind) > alim() && separationOf(kind) > review.previousSeparation) {
        raLastChange = review.now;
        return true;
    }
    return false;
}

// A reversal through the altitude of a threat this close is not made, not even as the best
// separation found when nothing else succeeds.
int32_t Tcas::reverseTo(RaReview& review, int32_t kind) {
    selectRaKind(review.threats, {kind}, kChangeResponseS);
    if (std::fabs(review.closest) <= kReversalCrossingLimitFt &&
        advisoryKinds[static_cast<std::size_t>(kind)].crossing) {
        return fallBack(review);
    }
    review.tried.push_back(kind);
    if (separationOf(kind) > alim() && separationOf(kind) > review.previousSeparation) {
        raLastChange = review.now;
        return kind;
    }
    return fallBack(review);
}

int32_t Tcas::fallBack(RaReview& review) {
    return keepBestSeparation(review.tried, true, review.now);
}

void Tcas::callout(SoundId id) {
    if (aws) {
        aws->enqueue(id);
    }
}

// The call-out of a corrective advisory, in its crossing form when it crosses a threat's
// altitude.
std::optional<SoundId> Tcas::correctiveCallout(int32_t kind) const {
    const bool crossing = advisoryKinds[static_cast<std::size_t>(kind)].crossing;
    switch (kind) {
    case kRaClimb:
        return crossing ? sounds::kTcasCrossingClimb : sounds::kTcasClimb;
    case kRaMaintainClimb:
    case kRaMaintainDescent:
        return crossing ? sounds::kTcasMaintainVerticalSpeedCrossing
                        : sounds::kTcasMaintainVerticalSpeed;
    case kRaIncreaseClimb:
        return sounds::kTcasIncreaseClimb;
    case kRaDescend:
        return crossing ? sounds::kTcasCrossingDescend : sounds::kTcasDescend;
    case kRaIncreaseDescent:
        return sounds::kTcasIncreaseDescent;
    default:
        return std::nullopt;
    }
}

void Tcas::announceFirstRa(int32_t kind) {
    switch (kind) {
    case kRaClimb:
    case kRaMaintainClimb:
    case kRaDescend:
    case kRaMaintainDescent:
        callout(*correctiveCallout(kind));
        break;
    case kRaDontDescend:
    case kRaDontClimb:
    case kRaLevelOff:
        callout(sounds::kTcasMonitorVerticalSpeed);
        break;
    default:
        break;
    }
}

void Tcas::announceRaChange(int32_t kind, int32_t previousKind) {
    const TcasAdvisoryKind& next = advisoryKinds[static_cast<std::size_t>(kind)];
    const RaSense previousSense = advisoryKinds[static_cast<std::size_t>(previousKind)].sense;
    if (kind == kRaLevelOff) {
        callout(sounds::kTcasMonitorVerticalSpeed);
    } else if (next.sense == kRaUp && previousSense == kRaDown) {
        callout(sounds::kTcasClimbNow);
    } else if (next.sense == kRaDown && previousSense == kRaUp) {
        callout(sounds::kTcasDescendNow);
    } else if (!next.corrective) {
        callout(sounds::kTcasAdjustVerticalSpeed);
    } else if (const std::optional<SoundId> sound = correctiveCallout(kind)) {
        callout(*sound);
    }
}

} // namespace tavi
