-- The default navigation data of the simulator folder: an invented region around 61N 24E
-- with three airports, their runways and ILS, VHF and NDB stations, fixes, one airway and one
-- departure, arrival and approach at the main airport. Frequencies are binary-coded decimal.
-- Each runway's far end lies along its true heading at its length from its threshold, and each
-- localizer beyond the far end on the runway's centreline; the approach's missed-approach
-- point is the runway threshold, a fix of its own (RW04).

INSERT INTO Airports (ID, ICAO, PrimaryID, Latitude, Longtitude, Elevation) VALUES
  (1, 'ZXOR', NULL, 61.0, 24.0, 420),
  (2, 'ZXOX', 1, 61.004, 24.006, 420),
  (3, 'ZXNB', NULL, 61.6, 23.2, 310),
  (4, 'ZXSV', NULL, 60.45, 25.1, 95);

INSERT INTO Runways (ID, AirportID, Ident, Latitude, Longtitude, Elevation, TrueHeading, Length, Width) VALUES
  (1, 1, '04', 60.9875, 23.9772, 415, 40.0, 10500, 148),
  (2, 1, '22', 61.00956, 24.01540, 420, 220.0, 10500, 148),
  (3, 1, '15', 61.0080, 23.9910, 418, 150.0, 8200, 148),
  (4, 1, '33', 60.98852, 24.01419, 416, 330.0, 8200, 148),
  (5, 3, '12', 61.6040, 23.1880, 310, 120.0, 7500, 131),
  (6, 3, '30', 61.59371, 23.22545, 305, 300.0, 7500, 131),
  (7, 4, '09', 60.4500, 25.0850, 95, 90.0, 9000, 148),
  (8, 4, '27', 60.44999, 25.13506, 90, 270.0, 9000, 148);

INSERT INTO ILSes (ID, Ident, RunwayID, Latitude, Longtitude, Elevation, Category, LocCourse, HasDme, Freq) VALUES
  (1, 'IORA', 1, 61.01166, 24.01904, 420, 3, 40.0, 1, 0x01101000),
  (2, 'IORB', 2, 60.98540, 23.97356, 415, 1, 220.0, 1, 0x01109000),
  (3, 'INBA', 6, 61.60537, 23.18300, 310, 1, 300.0, 0, 0x01095000),
  (4, 'ISVA', 7, 60.44999, 25.14062, 95, 2, 90.0, 1, 0x01117000);

INSERT INTO Navaids (ID, Ident, Type, Latitude, Longtitude, Elevation, Freq, Channel, Usage, SlavedVar) VALUES
  (1, 'ORV', 4, 61.05, 24.05, 430, 0x01143000, '090X', 'H', 8.0),
  (2, 'NBV', 2, 61.62, 23.25, 320, 0x01165000, '112X', 'B', 8.0),
  (3, 'SVO', 1, 60.40, 25.00, 80, 0x01128000, NULL, 'L', 9.0),
  (4, 'KMT', 9, 60.80, 23.40, 200, NULL, '104Y', 'T', NULL),
  (5, 'RIK', 3, 61.30, 25.40, 150, NULL, '118X', 'H', NULL),
  (6, 'OR', 5, 60.93, 23.90, 410, 0x03520000, NULL, 'L', NULL),
  (7, 'NB', 7, 61.55, 23.30, 300, 0x03960000, '046X', 'L', NULL);

INSERT INTO Waypoints (ID, Ident, Latitude, Longtitude, Collocated, NavaidID) VALUES
  (1, 'ALVEN', 61.30, 23.60, 0, NULL),
  (2, 'BORKA', 61.45, 23.95, 0, NULL),
  (3, 'CELMA', 60.70, 24.60, 0, NULL),
  (4, 'DUNOR', 60.85, 24.20, 0, NULL),
  (5, 'ERVIK', 61.20, 24.35, 0, NULL),
  (6, 'FELDA', 60.90, 23.85, 0, NULL),
  (7, 'GORAN', 60.85, 23.75, 0, NULL),
  (8, 'ORV', 61.05, 24.05, 1, 1),
  (9, 'NBV', 61.62, 23.25, 1, 2),
  (10, 'SVO', 60.40, 25.00, 1, 3),
  (11, 'RW04', 60.9875, 23.9772, 0, NULL);

INSERT INTO Airways (ID, Ident) VALUES (1, 'T14');
INSERT INTO AirwayLegs (ID, AirwayID, Waypoint1ID, Waypoint2ID, IsStart, IsEnd) VALUES
  (1, 1, 9, 1, 1, 0),
  (2, 1, 1, 8, 0, 0),
  (3, 1, 8, 3, 0, 0),
  (4, 1, 3, 10, 0, 1);

INSERT INTO Terminals (ID, AirportID, ICAO, Proc, Name, FullName, Rwy, RwyID) VALUES
  (1, 1, 'ZXOR', 2, 'ALVE1', 'ALVE1', NULL, NULL),
  (2, 1, 'ZXOR', 1, 'CELM1', 'CELM1', NULL, NULL),
  (3, 1, 'ZXOR', 3, 'I04', 'ILS 04', '04', 1);

INSERT INTO TerminalLegs (ID, TerminalID, Type, Transition, TrackCode, WptID, WptLat, WptLon, TurnDir, NavID, NavLat, NavLon, NavBear, NavDist, Course, Distance, Alt, Vnav) VALUES
  (1, 1, '1', 'RW04', 'CA', NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, 40.0, NULL, '1000', NULL),
  (2, 1, '1', 'RW04', 'DF', 5, 61.20, 24.35, 'L', NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL),
  (3, 1, '4', 'RW22', 'CA', NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, 220.0, NULL, '1000', NULL),
  (4, 1, '4', 'RW22', 'DF', 5, 61.20, 24.35, 'R', NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL),
  (5, 1, '2', NULL, 'TF', 2, 61.45, 23.95, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, '5000A', NULL),
  (6, 1, '2', NULL, 'TF', 1, 61.30, 23.60, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL),
  (7, 2, '1', 'SVO', 'IF', 10, 60.40, 25.00, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL),
  (8, 2, '1', 'SVO', 'TF', 3, 60.70, 24.60, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, 'FL100', NULL),
  (9, 2, '2', NULL, 'TF', 4, 60.85, 24.20, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, '6000', NULL),
  (10, 2, '2', NULL, 'TF', 6, 60.90, 23.85, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, '4000', NULL),
  (11, 3, '1', 'GORAN', 'IF', 7, 60.85, 23.75, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, '3000', NULL),
  (12, 3, '1', 'GORAN', 'TF', 6, 60.90, 23.85, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, '3000', NULL),
  (13, 3, '2', NULL, 'IF', 6, 60.90, 23.85, NULL, 1, 61.05, 24.05, 220.0, 9.0, NULL, NULL, '3000', NULL),
  (14, 3, '2', NULL, 'CF', 11, 60.9875, 23.9772, NULL, 1, 61.05, 24.05, 220.0, 4.0, 40.0, 6.0, 'MAP', -3.0),
  (15, 3, '2', NULL, 'CA', NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, 40.0, NULL, '1500', NULL),
  (16, 3, '2', NULL, 'DF', 8, 61.05, 24.05, 'R', NULL, NULL, NULL, NULL, NULL, NULL, NULL, '4000', NULL),
  (17, 3, '2', NULL, 'HM', 8, 61.05, 24.05, 'R', NULL, NULL, NULL, NULL, NULL, 220.0, 4.0, '4000', NULL);

INSERT INTO TerminalLegsEx (ID, IsFlyOver) VALUES (14, 1), (17, 1);

INSERT INTO config ([key], val) VALUES
  ('CycleStartDate', '25JAN24'),
  ('CycleEndDate', '21FEB24'),
  ('CycleName', '2401');
