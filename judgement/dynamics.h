// Durations of aspects and sign stays, and what the dynamics graphs are
// drawn from: the deviation of an aspect at a moment, the time window in
// which an aspect lies within its orb, the time window of a body's stay in
// its sign, the longitudes sampled once per pixel column of a graph, the
// column a moment falls on, and the zoom of a window by a drag.
// Longitudes come from the all-bodies driver, geocentric on the ecliptic of
// date; every Julian day is on the chart's time scale (UT + Delta T).
#pragma once

#include <cstdint>
#include <vector>

// The state the dynamics are computed from and drawn over.
struct DynamicsRecord {
  std::uint8_t DynamicsMode = 0;  // 0 aspect graph, 1 sign graph
  int FirstObject = 0;            // body 0..15; in the sign graph the only body
  int SecondObject = 0;           // body 0..15
  int DynAspectKind = 0;          // aspect kind 0..25
  float DynAspectOrb = 0;         // degrees, the orb of the aspect
  double WindowStart = 0;         // days, Julian day at the left end of the graph
  double WindowEnd = 0;           // days, Julian day at the right end
  double WindowMoment = 0;        // days, the chart's moment at the last computation
  // The search of that side ended at its bound with the aspect still within
  // orb (or the sign's edge not found): the edge is no real beginning or end.
  std::uint8_t StartOpen = 0;
  std::uint8_t EndOpen = 0;
};

// Why a window was not computed.
enum class DynamicsStatus {
  kOk,
  kUntimedKind,  // kinds 26..29 are measured on latitudes or sums of longitudes
  kBadInput,     // a body outside 0..15, a kind outside 0..29, an orb that is no number
};

// The bounds of one pass of the orb-window search: whichever comes first.
inline constexpr int kMaxOrbWindowSteps = 200000;
inline constexpr double kMaxOrbWindowDays = 36525.0;  // a century

// Deviation of aspect kind k from exactness for bodies at longitudes lonA
// and lonB (degrees in [0, 360)), degrees: the separation less the aspect's
// angle. The separation is the shorter arc, except for the opposition,
// where it is |lonA - lonB| in [0, 360). For the conjunction it carries the
// sign of lonA - lonB: (10, 350) gives -20, (350, 10) gives +20.
float AspectDeviationOf(double lonA, double lonB, int kind);

// The same at Julian day jd for bodies a and b (0..15), each from its own run
// of the all-bodies driver.
float CalcAspectDeviation(double jd, int a, int b, int kind);

// Longitude of a body at jd, degrees [0, 360), from one run of the driver.
double DynamicsLongitude(int body, double jd);

// Step of the orb-window search, days: 30 seconds for any pair with the
// Moon; else by the slower body (larger index): up to Mars 15 minutes,
// Jupiter an hour, beyond Jupiter four hours.
double OrbWindowStep(int a, int b);

// The time window around the chart's moment julianDayUT in which aspect
// DynAspectKind of FirstObject and SecondObject lies within DynAspectOrb:
// sets WindowMoment, WindowStart, WindowEnd, StartOpen and EndOpen. Each
// side steps away from the moment on a grid of OrbWindowStep until |deviation|
// reaches the orb and takes the crossing by linear interpolation between the
// last two samples (a sample exactly on the orb is taken as it is). A side
// that stays within orb for kMaxOrbWindowSteps steps (or a century) ends at
// its last sample and is marked open. Stretches the bodies' speed bounds
// prove to stay within orb are passed over without sampling each step; the
// samples taken are the grid's, so the result is that of stepping through.
// Kinds 26..29 and bad input leave the record untouched.
DynamicsStatus CalcAspectOrbWindow(DynamicsRecord& record, double julianDayUT);

// The stay of FirstObject in its sign around julianDayUT, the sign of
// objectLongitude (the chart's longitude of the body): WindowStart the
// moment before it at which the body stood at the sign's start, WindowEnd
// the moment after it at which it reaches the next sign's start, by the
// engine's aspect-time search. A side the search cannot find stays at the
// moment and is marked open.
DynamicsStatus CalcSignStayWindow(DynamicsRecord& record, double julianDayUT,
                                  float objectLongitude);

// Degrees of a longitude from the start of sign `sign`, reduced into
// (-180, 180]: a body that has crossed 0 Aries either way stays next to the
// sign, never 360 degrees away.
double DegreesIntoSign(double longitude, int sign);

// Closeness of a graph column to exactness, degrees: orb - |angle - separation|
// (separation the shorter arc); negative outside the orb.
double AspectCloseness(double lonA, double lonB, int kind, float orb);

// The plotting area of the last drawing, pixels of its surface.
struct GraphArea {
  int Left = 0, Right = 0, Top = 0, Bottom = 0;
};

// Julian day of column x; a window of no length (never computed) gives its
// start for every column.
double ColumnMoment(const DynamicsRecord& record, const GraphArea& area, int x);
// Column of a moment; false (x untouched) for a window of no length or a
// moment that does not fit the pixel range.
bool MomentColumn(const DynamicsRecord& record, const GraphArea& area, double jd, int& x);

// Longitudes sampled once per column of a graph, kept while the window, the
// bodies and the columns stay the same, so that a redraw for the mouse
// samples nothing.
struct DynamicsSamples {
  std::uint8_t Mode = 255;
  int BodyA = -1, BodyB = -1;
  double Start = 0, End = 0;
  int Left = 0, Right = 0;
  std::vector<double> LonA, LonB;       // degrees, column Left + i at index i
  std::vector<std::uint8_t> OtherSign;  // 1: a body stands outside its sign at the moment
  int Runs = 0;                         // times the columns were sampled anew
};

// Fills samples for the columns of area unless they hold them already; the
// sign at the moment is read from the chart's longitudes lonAtMomentA/B.
// Returns true when it sampled anew.
bool SampleDynamics(const DynamicsRecord& record, const GraphArea& area, float lonAtMomentA,
                    float lonAtMomentB, DynamicsSamples& samples);

// The window a drag from column x1 to column x2 zooms to (the columns in
// either order): inside the plotting area linearly, beyond its right end
// WindowEnd plus a fifth of the window per pixel, before its left end
// WindowStart less as much. With wholeDays each end moves back to the local
// midnight that begins its local date (zone in hours East). False, record
// untouched, when the two ends fall together or the window has no length.
bool ZoomWindow(DynamicsRecord& record, const GraphArea& area, int x1, int x2, bool wholeDays,
                float timeZone);

// Local midnight (chart time scale) that begins the local calendar date of jd.
double LocalMidnight(double jd, float timeZone);

// The lowest degrees into sign `sign` the sampled body reaches, when it goes
// back into the preceding sign; 0 otherwise. A sample at the very start of
// the sign that the search put a fraction of an arcsecond before it does not
// count as going back.
double SignGraphFloor(const DynamicsSamples& samples, int sign);
