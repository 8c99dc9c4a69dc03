-- Navigation database schema. The table and column names are what the module reads, letter
-- for letter ("Longtitude" is spelled so). NOT NULL marks the columns the module reads without
-- a fallback. Texts that the queries compare are COLLATE NOCASE: identifiers match without
-- regard to case. Yes/No columns hold 1 or 0. Positions are degrees, north and east positive;
-- elevations feet.
-- Freq holds binary-coded decimal words: VHF stations and ILS 0x0HHHFF00 (116.30 MHz is
-- 0x01163000), NDBs 0xKKKKT000 (375.0 kHz is 0x03750000).

CREATE TABLE Airports (
  ID         INTEGER PRIMARY KEY,
  ICAO       TEXT    NOT NULL COLLATE NOCASE,
  PrimaryID  INTEGER NULL,               -- NULL: a primary airport; else the ID of its primary
  Latitude   REAL    NOT NULL,
  Longtitude REAL    NOT NULL,
  Elevation  INTEGER NOT NULL
);
CREATE INDEX Airports_ICAO ON Airports(ICAO);
-- The position searches read their columns from the index alone.
CREATE INDEX Airports_Pos  ON Airports(Latitude, Longtitude, PrimaryID, ICAO);

CREATE TABLE Runways (                  -- one row per runway direction
  ID          INTEGER PRIMARY KEY,
  AirportID   INTEGER NOT NULL REFERENCES Airports(ID),
  Ident       TEXT    NOT NULL COLLATE NOCASE, -- designator without "RW": 09L, 27
  Latitude    REAL    NOT NULL,          -- threshold
  Longtitude  REAL    NOT NULL,
  Elevation   INTEGER NOT NULL,
  TrueHeading REAL    NOT NULL,          -- degrees true
  Length      INTEGER NOT NULL,          -- feet
  Width       INTEGER NOT NULL           -- feet
);
CREATE INDEX Runways_Apt ON Runways(AirportID);

CREATE TABLE Navaids (
  ID         INTEGER PRIMARY KEY,
  Ident      TEXT    NOT NULL COLLATE NOCASE, -- NDBs without their "NB" suffix
  Type       INTEGER NOT NULL,           -- 1 VOR 2 VORTAC 3 TACAN 4 VORDME 5 NDB 7 NDBDME 9 DME
  Latitude   REAL    NOT NULL,
  Longtitude REAL    NOT NULL,
  Elevation  INTEGER NOT NULL,
  Freq       INTEGER NULL,               -- NULL for channel-only stations
  -- DME/TACAN channel such as '087X', or NULL: an empty text would pair with no frequency.
  Channel    TEXT    NULL CHECK (Channel IS NULL OR Channel GLOB '[0-9][0-9][0-9][XY]'),
  Usage      TEXT    NOT NULL,           -- one letter: H high, L low, T terminal, B both
  SlavedVar  REAL    NULL                -- degrees; NULL: none
);
CREATE INDEX Navaids_Ident ON Navaids(Ident);
CREATE INDEX Navaids_Pos   ON Navaids(Latitude, Longtitude, Type, Ident);
CREATE INDEX Navaids_Freq  ON Navaids(Freq);
CREATE INDEX Navaids_Chan  ON Navaids(Channel);

CREATE TABLE Waypoints (
  ID         INTEGER PRIMARY KEY,
  Ident      TEXT    NOT NULL COLLATE NOCASE,
  Latitude   REAL    NOT NULL,
  Longtitude REAL    NOT NULL,
  Collocated INTEGER NOT NULL DEFAULT 0, -- the fix stands at the navaid NavaidID
  NavaidID   INTEGER NULL REFERENCES Navaids(ID)
);
CREATE INDEX Waypoints_Ident ON Waypoints(Ident);
CREATE INDEX Waypoints_Nav   ON Waypoints(NavaidID);

CREATE TABLE ILSes (
  ID         INTEGER PRIMARY KEY,
  Ident      TEXT    NOT NULL COLLATE NOCASE,
  RunwayID   INTEGER NULL REFERENCES Runways(ID),
  Latitude   REAL    NOT NULL,
  Longtitude REAL    NOT NULL,
  Elevation  INTEGER NOT NULL,
  Category   INTEGER NOT NULL,
  LocCourse  REAL    NOT NULL,           -- degrees true
  HasDme     INTEGER NOT NULL,
  Freq       INTEGER NOT NULL
);
CREATE INDEX ILSes_Ident ON ILSes(Ident);
CREATE INDEX ILSes_Rwy   ON ILSes(RunwayID);
CREATE INDEX ILSes_Freq  ON ILSes(Freq);

CREATE TABLE Airways (
  ID    INTEGER PRIMARY KEY,
  Ident TEXT NOT NULL COLLATE NOCASE
);
CREATE INDEX Airways_Ident ON Airways(Ident);
CREATE TABLE AirwayLegs (               -- consecutive IDs along each continuous piece
  ID          INTEGER PRIMARY KEY,
  AirwayID    INTEGER NOT NULL REFERENCES Airways(ID),
  Waypoint1ID INTEGER NOT NULL REFERENCES Waypoints(ID),
  Waypoint2ID INTEGER NOT NULL REFERENCES Waypoints(ID),
  IsStart     INTEGER NOT NULL DEFAULT 0, -- first leg of a piece
  IsEnd       INTEGER NOT NULL DEFAULT 0  -- last leg of a piece
);
CREATE INDEX AirwayLegs_Awy ON AirwayLegs(AirwayID);

CREATE TABLE Terminals (                -- one row per procedure
  ID        INTEGER PRIMARY KEY,
  AirportID INTEGER NOT NULL REFERENCES Airports(ID),
  ICAO      TEXT    NOT NULL COLLATE NOCASE,
  Proc      INTEGER NOT NULL,            -- 1 STAR, 2 SID, 3 approach
  Name      TEXT    NOT NULL COLLATE NOCASE,
  FullName  TEXT    NOT NULL COLLATE NOCASE,
  Rwy       TEXT    NULL COLLATE NOCASE, -- designator without "RW"
  RwyID     INTEGER NULL REFERENCES Runways(ID) -- NULL: serves no single runway
);
-- Procedures are reached through their airport's ID.
CREATE INDEX Terminals_Apt ON Terminals(AirportID, Proc, Name);

CREATE TABLE TerminalLegs (             -- ascending ID is the flying order
  ID         INTEGER PRIMARY KEY,
  TerminalID INTEGER NOT NULL REFERENCES Terminals(ID),
  -- SID: 1,4 runway, 2,5 common, 3,6 en route; STAR: 1,4,7 en route, 2,5,8 common, 3,6,9 runway
  Type       TEXT    NOT NULL,
  Transition TEXT    NULL COLLATE NOCASE, -- runway transitions "RW" + designator
  TrackCode  TEXT    NOT NULL,           -- path terminator: TF, CF, DF...
  WptID      INTEGER NULL,
  WptLat     REAL    NULL,
  WptLon     REAL    NULL,
  TurnDir    TEXT    NULL,               -- 'L' left, other text right, NULL none
  NavID      INTEGER NULL,
  NavLat     REAL    NULL,
  NavLon     REAL    NULL,
  NavBear    REAL    NULL,
  NavDist    REAL    NULL,
  Course     REAL    NULL,
  Distance   REAL    NULL,
  Alt        TEXT    NULL COLLATE NOCASE, -- altitude text; 'MAP' marks the missed-approach point
  Vnav       REAL    NULL
);
CREATE INDEX TerminalLegs_T ON TerminalLegs(TerminalID);

CREATE TABLE TerminalLegsEx (
  ID        INTEGER PRIMARY KEY REFERENCES TerminalLegs(ID),
  IsFlyOver INTEGER NOT NULL
);

CREATE TABLE config (
  [key] TEXT PRIMARY KEY COLLATE NOCASE, -- CycleStartDate, CycleEndDate (DDMMMYY), CycleName
  val   TEXT NULL
);
