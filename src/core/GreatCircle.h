#pragma once
// Distance and beam heading from the own station to a prefix's position, by
// the logbook's own formula and constants (K degrees per radian, P a quarter
// turn), truncating toward zero.

struct Bearing {
    int distanceKm = 0;
    int heading = 0;     // whole degrees
    int backHeading = 0; // 360 minus the heading
};

// Own latitude/longitude: north and east positive. The DX longitude is given
// as the prefix table keeps it: west positive. Always finite: equal points
// give 0 km and heading 0; antipodes give a heading of 0 too.
Bearing greatCircle(double ownLatitude, double ownLongitude, double dxLatitude, double dxLongitudeWest);
