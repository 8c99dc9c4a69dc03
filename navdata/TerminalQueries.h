#pragma once

#include <array>
#include <string_view>

// The navigation database's queries of terminal procedures, each written out whole. An airport
// is always reached through Terminals.AirportID, so a second Airports row with the same ICAO
// code neither doubles the catalogue nor the legs. The legs of a procedure are read from the
// one Terminals row chosen for the runway asked (kProcedureRow, kApproachRow).
namespace tavi::terminal_queries {

// Procedure names of an airport (ICAO, procedure kind).
inline constexpr char kProceduresOfAirport[] =
    "SELECT Terminals.Name FROM Terminals "
    "INNER JOIN Airports ON Airports.ID = Terminals.AirportID "
    "WHERE Airports.ICAO = ? AND Terminals.Proc = ? "
    "ORDER BY Terminals.Name, Terminals.Rwy";

// The departures serving a runway (ICAO, runway ID, runway transition name): tied to it, or
// tied to none and either holding a runway transition named after it or none at all.
inline constexpr char kSidsForRunway[] =
    "SELECT Terminals.Name FROM Terminals "
    "INNER JOIN Airports ON Airports.ID = Terminals.AirportID "
    "WHERE Airports.ICAO = ? AND Terminals.Proc = 2 "
    "AND (Terminals.RwyID = ? "
    "OR Terminals.RwyID IS NULL AND EXISTS (SELECT 1 FROM TerminalLegs "
    "WHERE TerminalLegs.TerminalID = Terminals.ID AND TerminalLegs.Type IN ('1', '4') "
    "AND TerminalLegs.Transition = ?) "
    "OR Terminals.RwyID IS NULL AND NOT EXISTS (SELECT 1 FROM TerminalLegs "
    "WHERE TerminalLegs.TerminalID = Terminals.ID AND TerminalLegs.Type IN ('1', '4'))) "
    "ORDER BY Terminals.Name, Terminals.Rwy";

// The arrivals serving a runway, by the same rule (ICAO, runway ID, runway transition name).
inline constexpr char kStarsForRunway[] =
    "SELECT Terminals.Name FROM Terminals "
    "INNER JOIN Airports ON Airports.ID = Terminals.AirportID "
    "WHERE Airports.ICAO = ? AND Terminals.Proc = 1 "
    "AND (Terminals.RwyID = ? "
    "OR Terminals.RwyID IS NULL AND EXISTS (SELECT 1 FROM TerminalLegs "
    "WHERE TerminalLegs.TerminalID = Terminals.ID AND TerminalLegs.Type IN ('3', '6', '9') "
    "AND TerminalLegs.Transition = ?) "
    "OR Terminals.RwyID IS NULL AND NOT EXISTS (SELECT 1 FROM TerminalLegs "
    "WHERE TerminalLegs.TerminalID = Terminals.ID AND TerminalLegs.Type IN ('3', '6', '9'))) "
    "ORDER BY Terminals.Name, Terminals.Rwy";

// Transition names in ascending order: a departure's en-route transitions (ICAO, name).
inline constexpr char kSidEnrouteTransitions[] =
    "SELECT DISTINCT TerminalLegs.Transition FROM Terminals "
    "INNER JOIN Airports ON Airports.ID = Terminals.AirportID "
    "INNER JOIN TerminalLegs ON TerminalLegs.TerminalID = Terminals.ID "
    "WHERE Airports.ICAO = ? AND Terminals.Proc = 2 AND Terminals.Name = ? "
    "AND TerminalLegs.Type IN ('3', '6') "
    "ORDER BY 1";

// An arrival's en-route transitions (ICAO, name).
inline constexpr char kStarEnrouteTransitions[] =
    "SELECT DISTINCT TerminalLegs.Transition FROM Terminals "
    "INNER JOIN Airports ON Airports.ID = Terminals.AirportID "
    "INNER JOIN TerminalLegs ON TerminalLegs.TerminalID = Terminals.ID "
    "WHERE Airports.ICAO = ? AND Terminals.Proc = 1 AND Terminals.Name = ? "
    "AND TerminalLegs.Type IN ('1', '4', '7') "
    "ORDER BY 1";

// An arrival's runway transitions (ICAO, name).
inline constexpr char kStarRunwayTransitions[] =
    "SELECT DISTINCT TerminalLegs.Transition FROM Terminals "
    "INNER JOIN Airports ON Airports.ID = Terminals.AirportID "
    "INNER JOIN TerminalLegs ON TerminalLegs.TerminalID = Terminals.ID "
    "WHERE Airports.ICAO = ? AND Terminals.Proc = 1 AND Terminals.Name = ? "
    "AND TerminalLegs.Type IN ('3', '6', '9') "
    "ORDER BY 1";

// An approach's transitions (ICAO, name, full name).
inline constexpr char kIapTransitions[] =
    "SELECT DISTINCT TerminalLegs.Transition FROM Terminals "
    "INNER JOIN Airports ON Airports.ID = Terminals.AirportID "
    "INNER JOIN TerminalLegs ON TerminalLegs.TerminalID = Terminals.ID "
    "WHERE Airports.ICAO = ? AND Terminals.Proc = 3 AND Terminals.Name = ? "
    "AND Terminals.FullName = ? AND TerminalLegs.Transition IS NOT NULL "
    "ORDER BY 1";

// The runways an arrival's rows are tied to (ICAO, name).
inline constexpr char kStarRunwayRows[] =
    "SELECT Terminals.Rwy FROM Terminals "
    "INNER JOIN Airports ON Airports.ID = Terminals.AirportID "
    "WHERE Airports.ICAO = ? AND Terminals.Proc = 1 AND Terminals.Name = ? "
    "ORDER BY Terminals.ID";

// The approaches of an airport (ICAO).
inline constexpr char kApproaches[] =
    "SELECT Terminals.Name, Terminals.FullName, Terminals.RwyID FROM Terminals "
    "INNER JOIN Airports ON Airports.ID = Terminals.AirportID "
    "WHERE Airports.ICAO = ? AND Terminals.Proc = 3 "
    "ORDER BY Terminals.Name, Terminals.Rwy";

// The row of a departure or arrival stored once per runway whose legs are flown (ICAO,
// procedure kind, name, runway ID): the one tied to the runway, else one tied to none, else
// the first.
inline constexpr char kProcedureRow[] =
    "SELECT Terminals.ID FROM Terminals "
    "INNER JOIN Airports ON Airports.ID = Terminals.AirportID "
    "WHERE Airports.ICAO = ? AND Terminals.Proc = ? AND Terminals.Name = ? "
    "ORDER BY CASE WHEN Terminals.RwyID = ? THEN 0 WHEN Terminals.RwyID IS NULL THEN 1 "
    "ELSE 2 END, Terminals.ID "
    "LIMIT 1";

// The same for an approach (ICAO, name, full name, runway ID).
inline constexpr char kApproachRow[] =
    "SELECT Terminals.ID FROM Terminals "
    "INNER JOIN Airports ON Airports.ID = Terminals.AirportID "
    "WHERE Airports.ICAO = ? AND Terminals.Proc = 3 AND Terminals.Name = ? "
    "AND Terminals.FullName = ? "
    "ORDER BY CASE WHEN Terminals.RwyID = ? THEN 0 WHEN Terminals.RwyID IS NULL THEN 1 "
    "ELSE 2 END, Terminals.ID "
    "LIMIT 1";

// The legs of one part of a procedure row, in flying order: a named transition of leg types
// (row ID, transition, three leg types; a type may repeat).
inline constexpr char kTransitionLegs[] =
    "SELECT TerminalLegs.*, TerminalLegsEx.IsFlyOver FROM TerminalLegs "
    "LEFT JOIN TerminalLegsEx ON TerminalLegsEx.ID = TerminalLegs.ID "
    "WHERE TerminalLegs.TerminalID = ? AND TerminalLegs.Transition = ? "
    "AND TerminalLegs.Type IN (?, ?, ?) "
    "ORDER BY TerminalLegs.ID";

// The common route, of leg types (row ID, three leg types; a type may repeat).
inline constexpr char kRouteLegs[] =
    "SELECT TerminalLegs.*, TerminalLegsEx.IsFlyOver FROM TerminalLegs "
    "LEFT JOIN TerminalLegsEx ON TerminalLegsEx.ID = TerminalLegs.ID "
    "WHERE TerminalLegs.TerminalID = ? AND TerminalLegs.Type IN (?, ?, ?) "
    "ORDER BY TerminalLegs.ID";

// An approach transition (row ID, transition).
inline constexpr char kApproachTransitionLegs[] =
    "SELECT TerminalLegs.*, TerminalLegsEx.IsFlyOver FROM TerminalLegs "
    "LEFT JOIN TerminalLegsEx ON TerminalLegsEx.ID = TerminalLegs.ID "
    "WHERE TerminalLegs.TerminalID = ? AND TerminalLegs.Transition = ? "
    "ORDER BY TerminalLegs.ID";

// The final and missed approach (row ID).
inline constexpr char kFinalApproachLegs[] =
    "SELECT TerminalLegs.*, TerminalLegsEx.IsFlyOver FROM TerminalLegs "
    "LEFT JOIN TerminalLegsEx ON TerminalLegsEx.ID = TerminalLegs.ID "
    "WHERE TerminalLegs.TerminalID = ? AND TerminalLegs.Transition IS NULL "
    "ORDER BY TerminalLegs.ID";

// The missed-approach-point leg (row ID); the altitude text matches without regard to case.
inline constexpr char kMissedApproachPointLeg[] =
    "SELECT TerminalLegs.*, TerminalLegsEx.IsFlyOver FROM TerminalLegs "
    "LEFT JOIN TerminalLegsEx ON TerminalLegsEx.ID = TerminalLegs.ID "
    "WHERE TerminalLegs.TerminalID = ? AND TerminalLegs.Transition IS NULL "
    "AND TerminalLegs.Alt = 'MAP' COLLATE NOCASE "
    "ORDER BY TerminalLegs.ID "
    "LIMIT 1";

// Every query above, for checking them against a database.
inline constexpr std::array<std::string_view, 16> kAll = {kProceduresOfAirport,
                                                          kSidsForRunway,
                                                          kStarsForRunway,
                                                          kSidEnrouteTransitions,
                                                          kStarEnrouteTransitions,
                                                          kStarRunwayTransitions,
                                                          kIapTransitions,
                                                          kStarRunwayRows,
                                                          kApproaches,
                                                          kProcedureRow,
                                                          kApproachRow,
                                                          kTransitionLegs,
                                                          kRouteLegs,
                                                          kApproachTransitionLegs,
                                                          kFinalApproachLegs,
                                                          kMissedApproachPointLeg};

} // namespace tavi::terminal_queries
