#pragma once
// The layout of the data record `tpcm`, the product-kind tables, the text
// byte-order rule of data files and the layout of `lowcof` ("LOWDAT").
//
// The records themselves (Tpcm, Lowcof, Gustrcom) are in sysutl/record.hpp,
// because the Session owns them; this header names their words.
#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "kelpkit/record_words.hpp"
#include "sysutl/record.hpp"

namespace kelp {

// ---- The word map of tpcm ----
// Every word that code reads or writes by its number is named here once,
// typed by what it holds (IntWord, RealWord, TextWord; sysutl/record.hpp);
// the words the kit reads itself are named in kelpkit/record_words.hpp. A
// list is named by its first entry. Tables of the mooring region and of the
// member model are reached through their accessors (below, member_table.hpp).
// Passing a bare number to the record's accessors is refused by the build's
// word check (tools/check-word-numbers).

// Frame and editor state.
inline constexpr IntWord kRecordLength{0};        // words in the record as written
inline constexpr IntWord kProgramKind{1};         // program kind 1..17
inline constexpr IntWord kOldVesselType{2};       // vessel type in files before version 3.47
inline constexpr IntWord kSessionReserved{3};     // 0 at the start of every editing session
inline constexpr IntWord kOldUserRaos{4};         // user RAOs in files before version 3.47
inline constexpr IntWord kPreviousRunMode{5};     // run mode of the session before the last save
inline constexpr IntWord kWriterRunMode{6};       // run mode of the program that last wrote
inline constexpr IntWord kBatchFlag{13};          // 1 when the session started with "B" (toggles ask)
inline constexpr IntWord kFairleadLayout{14};     // 49 old layout, 149 current
inline constexpr IntWord kPrecisionMarker{15};    // 1 = written with another real precision
inline constexpr IntWord kDofOutputs{53};         // yes/no: output of surge, sway, heave, roll, pitch, yaw (53..58)
inline constexpr std::size_t kIdentLineChars = 80;
inline constexpr TextWord kIdentLine1{59, kIdentLineChars};  // words 59..78
inline constexpr TextWord kIdentLine2{79, kIdentLineChars};  // words 79..98
inline constexpr IntWord kOption106{106};         // relative motion at the points: 0 none, 1 to the
                                                  // free surface, 2 to the fluid at the point's level
inline constexpr IntWord kOutputDevice{108};      // 1 disk, 6 console, 99
inline constexpr RealWord kOldVersion{110};       // version in files of the oldest layout
inline constexpr IntWord kYear{111};              // year of the writing program
inline constexpr IntWord kDebug{113};             // debug output on (debugging allowed)
inline constexpr IntWord kTraceLevel{114};        // 1: trace blocks of the numerical routines
inline constexpr IntWord kUnitSystem{116};        // 0 English, 1 metric
inline constexpr IntWord kSubEditorKind{117};     // 0 disc buoy, 3..8 mooring kinds
inline constexpr IntWord kWriterOs{120};          // operating-system code of the writer
inline constexpr std::size_t kReservedTextChars = 72;
inline constexpr TextWord kReservedText{123, kReservedTextChars};  // words 123..140
inline constexpr IntWord kLayoutCode{141};        // layout code of the writer (49)
inline constexpr IntWord kVersionIncrement{162};  // 0 in every file written here
inline constexpr RealWord kVersion{216};          // data-file version (sign ignored)
inline constexpr IntWord kNavCode{699};           // navigation code of the last page
inline constexpr IntWord kPageCounter{700};       // page counter, jump target, help item
inline constexpr IntWord kPrintPass{701};         // print-pass counter (0 none)
inline constexpr IntWord kTimeDomainSwitch{1866}; // nonzero = Gustrevan support on
inline constexpr IntWord kInterpTableSize{1914};  // points of the interpolation tables (90)

// List limits of the sea-state pages.
inline constexpr IntWord kRegularHeadingLimit{27};    // regular-wave headings
inline constexpr IntWord kIrregularHeadingLimit{28};  // irregular-wave headings
inline constexpr IntWord kSeaCaseLimit{29};           // irregular cases or Ochi-Hubble components
inline constexpr IntWord kSpreadLimit{31};            // spreading angles

// Sea state, wind and current.
inline constexpr IntWord kConstantSlope{107};     // 1: regular waves of constant slope (word 447 in degrees)
inline constexpr IntWord kSeaSpectrum{163};       // spectrum code of the irregular seas
inline constexpr IntWord kWindSpectrum{164};      // 1..6; 6 the user file "WINDSPEC.txt"
inline constexpr IntWord kCurrentSpectrum{165};   // 2: the user spectrum file of the current page
inline constexpr IntWord kWaveFrequencies{166};   // regular-wave periods in use
inline constexpr IntWord kRegularHeadingCount{167};
inline constexpr IntWord kSpreadWedges{168};      // angular wedges of the spread seas (even)
inline constexpr IntWord kIrregularHeadingCount{169};
inline constexpr IntWord kIrregularCases{170};
inline constexpr IntWord kIrregularOn{171};
inline constexpr IntWord kSpreadingOn{172};       // 1: azimuthally spread seas, 0 long-crested
inline constexpr IntWord kSwellOn{173};
inline constexpr IntWord kWindOn{174};
inline constexpr IntWord kCurrentOn{175};
inline constexpr IntWord kCurrentProfile{176};   // 0 1/7 power law, 1 none, 2 table, 3 "CRNTPROF.txt"
inline constexpr IntWord kCurrentProfilePoints{177};
inline constexpr IntWord kSwellLocked{180};       // swell direction locked to the irregular waves
inline constexpr IntWord kLegacyCurrentDrift{183};  // legacy current-wave drift interaction model
inline constexpr IntWord kLegacyPeakModel{184};     // legacy peak low-frequency motion and load model
inline constexpr IntWord kExcludeWaveAbsorption{185};  // not 0 also hides "Ignore wave drag variability"
inline constexpr IntWord kSwell1Spectrum{189};
inline constexpr IntWord kSwell2On{193};
inline constexpr IntWord kSwell2Spectrum{194};
inline constexpr RealWord kPeriods{317};          // regular-wave period n at 316 + n
inline constexpr RealWord kIrregularHeadings{713}; // irregular-wave heading n at 712 + n
inline constexpr RealWord kWaterDensity{446};
inline constexpr RealWord kRegularHeight{447};    // height, or slope in degrees
inline constexpr RealWord kSpreadPower{448};      // power of the cosine spreading factor
inline constexpr RealWord kRegularHeadings{417};  // regular-wave heading n at 416 + n (degrees)
inline constexpr RealWord kWindDensity{455};     // wind speed spectral density (wind type 2)
inline constexpr RealWord kWindHeading{453};     // degrees: direction the wind blows towards
inline constexpr RealWord kWindSpeed{454};       // knots
inline constexpr RealWord kCurrentHeading{456};  // degrees: direction the current flows towards
inline constexpr RealWord kCurrentSpeed{457};    // knots, at the surface
inline constexpr RealWord kApiWindParameter{459}; // A.P.I. wind spectrum parameter (wind type 4)
inline constexpr RealWord kCurrentRmsFraction{483}; // RMS/mean current speed (band-limited spectrum)
inline constexpr RealWord kCurrentDensity{458};  // current speed spectral density
inline constexpr RealWord kStormDuration{449};    // hours
inline constexpr RealWord kSwellHeight{450};
inline constexpr RealWord kSwellPeriod{451};
inline constexpr RealWord kSwellDirection{452};   // degrees
inline constexpr RealWord kSwellBandwidth{460};   // bandwidth of the first swell's default spectrum
inline constexpr RealWord kCurrentDepths{461};    // current profile: depth of point i at 460 + i
inline constexpr RealWord kCurrentSpeeds{466};    // current profile: speed of point i at 465 + i
inline constexpr RealWord kSeaSigmaA{474};        // JONSWAP width below the peak, irregular waves
inline constexpr RealWord kSeaSigmaB{475};        // JONSWAP width above the peak, irregular waves
inline constexpr RealWord kSeaGamma{476};         // JONSWAP peak enhancement, irregular waves
inline constexpr RealWord kSpreadSector{477};     // degrees: sector containing the wave energy
inline constexpr RealWord kSwellSigmaA{484};      // the first swell's JONSWAP parameters
inline constexpr RealWord kSwellSigmaB{485};
inline constexpr RealWord kSwellGamma{486};
inline constexpr RealWord kPhantomWeight{482};
inline constexpr RealWord kSeaBandwidth{487};     // bandwidth of the irregular seas' default spectrum
inline constexpr RealWord kNpdHeight{489};        // N.P.D. spectral evaluation height
inline constexpr RealWord kSwell2Height{490};
inline constexpr RealWord kSwell2Period{491};
inline constexpr RealWord kSwell2Direction{492};  // degrees
inline constexpr RealWord kSwell2Bandwidth{493};  // bandwidth of the second swell's default spectrum
inline constexpr RealWord kSwell2SigmaA{494};     // the second swell's JONSWAP parameters
inline constexpr RealWord kSwell2SigmaB{495};
inline constexpr RealWord kSwell2Gamma{496};
inline constexpr IntWord kCurrentSelector{773};   // 4-bit source codes Cx, Cy, Cz
inline constexpr IntWord kWindSelector{774};
inline constexpr IntWord kDriftSelector{786};

// Low-frequency load model (the characteristics and areas pages).
inline constexpr IntWord kLegacyCylinderDrift{151};   // yes/no: legacy cylinder drift force coefficients
inline constexpr IntWord kDriftCurrentCorrection{770}; // yes/no: current correction of the drift forces
inline constexpr RealWord kFreeboardLoad{1389};    // percent, 0..100 (wind, OCIMF)
inline constexpr RealWord kWindBowShape{1390};     // 0 conventional, 1 cylindrical, between interpolated
inline constexpr RealWord kDraftLoad{1391};        // percent, 0..100 (current, NSMB)
inline constexpr RealWord kCurrentBowShape{1392};  // 0 conventional with bulb, 1 cylindrical, between interpolated
inline constexpr RealWord kWindHeadArea{1352};     // head-on effective drag area (wind)
inline constexpr RealWord kWindHeadCentroidY{1353};
inline constexpr RealWord kWindBeamArea{1354};
inline constexpr RealWord kWindBeamCentroidX{1355};
inline constexpr RealWord kCurrentHeadCentroidY{1357};  // (the current head-on area is kCurrentArea)
inline constexpr RealWord kCurrentBeamArea{1358};
inline constexpr RealWord kCurrentBeamCentroidX{1359};
inline constexpr RealWord kBowShapeFactor{1360};   // wave reflection, default 1.0
inline constexpr RealWord kWindEnhancement{1361};
inline constexpr RealWord kCurrentEnhancement{1362};
inline constexpr RealWord kReflectionBeam{1363};   // wave reflection enhancement factors, default 1.0
inline constexpr RealWord kSternShapeFactor{1367}; // default 1.25
inline constexpr RealWord kWindHeadCentroidZ{1399};     // z from the keel
inline constexpr RealWord kWindBeamCentroidZ{1400};
inline constexpr RealWord kCurrentHeadCentroidZ{1401};
inline constexpr RealWord kCurrentBeamCentroidZ{1402};
inline constexpr RealWord kReflectionHead{1403};
inline constexpr RealWord kReflectionMoment{1404};
inline constexpr RealWord kAbsorptionHead{1658};   // wave absorption enhancement factors, default 1.0
inline constexpr RealWord kAbsorptionBeam{1659};
inline constexpr RealWord kAbsorptionMoment{1660};
inline constexpr RealWord kAbsorptionVariable{1661};

// Low-frequency dynamics and the regular excitation.
inline constexpr IntWord kExtensionOn{1907};       // 1 line (or SALM) extension, 0 regular waves
inline constexpr IntWord kLfSurgeDampingMode{1910};  // 0 computed, else user-specified (1910..1912
inline constexpr IntWord kLfSwayDampingMode{1911};   // surge, sway, yaw)
inline constexpr IntWord kLfYawDampingMode{1912};
inline constexpr RealWord kLfSurgeDamping{1675};   // percent of critical (1675..1677 as 1910..1912)
inline constexpr RealWord kLfSwayDamping{1676};
inline constexpr RealWord kLfYawDamping{1677};

// Output and simulation options.
inline constexpr IntWord kOutputSpreadRaos{100};  // yes/no: RAOs of the intermediate spreading angles
inline constexpr IntWord kAnyRaoOutput{101};      // set when any of words 4978..4980 is on
inline constexpr IntWord kNoMotionsSummary{103};  // inverted: 0 reports the vessel motions summary
inline constexpr IntWord kForceRaos{104};         // yes/no: force/torque RAOs
inline constexpr IntWord kMotionRaos{105};        // yes/no: motion RAOs
inline constexpr IntWord kLoggedDrive{109};       // 0: disk output goes to the logged drive
inline constexpr IntWord kAngularRaoUnits{121};   // angular RAOs per unit wave height (1) or per degree of slope (0)
inline constexpr IntWord kSuppressHydroWarnings{143};  // yes/no: read by the simulation only
inline constexpr IntWord kReportAtCg{144};        // 1 motions and loads at the c.g., 0 at the natural rotation centres
inline constexpr IntWord kThreeDofSearch{145};
inline constexpr IntWord kSpectralLineSd{146};    // spectral estimates of w.f. line load deviations
inline constexpr IntWord kTendonLike{149};        // 1: treated like the tendon kind
inline constexpr IntWord kAddedMassModel{150};    // 1 = no catenary added mass (kinds 14 and 17)
inline constexpr IntWord kLegacyModes{153};       // legacy surge/sway normal modes
inline constexpr IntWord kLockTurret{161};
inline constexpr IntWord kPointCount{753};        // points of interest for motion output
inline constexpr IntWord kPointAccelerations{756}; // yes/no: accelerations at the points
inline constexpr IntWord kPointVelocities{757};    // yes/no: velocities at the points
inline constexpr IntWord kPointMotions{758};       // yes/no: displacements (or relative motion)
// The points of interest of the disc buoy: x, y, z of point n at 901 + 3n,
// 149 points (the mooring kinds keep their hawser point in the first row).
inline constexpr RealWord kPointTable{904};
inline constexpr int kPointCapacity = 149;
inline constexpr RealWord kExcursionDiameter{1666};  // diameter of the low-frequency excursion disc
inline constexpr IntWord kIgnoreDragVariability{1867};
inline constexpr IntWord kForceRebuild{1868};     // force-rebuild all support data
inline constexpr IntWord kLowFrequencyOn{1919};   // low-frequency dynamics on
inline constexpr IntWord kWaveFrequencyOn{1920};  // wave-frequency dynamics simulated
inline constexpr IntWord kOldAuxForce{1905};      // first external force block on, files before 3.51
inline constexpr IntWord kOldAuxFrame{1906};

// Time-domain simulation words of the options page (the options themselves
// are in gustrcom).
inline constexpr IntWord kFreeFloating{197};        // yes/no: vessel without moorings
inline constexpr IntWord kSkipEquilibrium{198};     // yes/no: no background equilibrium search
inline constexpr IntWord kCylindricalMap{199};      // yes/no: mooring map on an {r,theta} grid
inline constexpr IntWord kUserStillwaterDamping{200};  // 1 user values, 0 built-in estimates
inline constexpr IntWord kUserVirtualMass{201};     // yes/no: user zero-frequency virtual mass
inline constexpr RealWord kStillwaterDamping{1509}; // {Cx, Cy, Cz} at 1509..1511
inline constexpr RealWord kVirtualMassCoefs{1512};  // {Cmx, Cmy, Cmz} at 1512..1514

// ---- The vessel ----
// Kinds 10 and 13 describe a second body: each first-vessel word has a twin
// this many words on (draft 1411, 2645).
inline constexpr std::size_t kTwinOffset = 1234;
// The first vessel's block of 913 words from word 753 (its twin from word
// 1987): kind 13 exchanges the two while the lines of the second body are solved.
inline constexpr std::size_t kVesselBlock = 753;
inline constexpr std::size_t kVesselBlockWords = 913;
inline constexpr IntWord kBilgeKeel{761};         // yes/no
inline constexpr IntWord kPitchDampingMode{764};  // 0 computed, 1 specified (764..769 pitch, roll,
inline constexpr IntWord kRollDampingMode{765};   // heave damping, then pitch, roll, heave period)
inline constexpr IntWord kHeaveDampingMode{766};
inline constexpr IntWord kPitchPeriodMode{767};
inline constexpr IntWord kRollPeriodMode{768};
inline constexpr IntWord kHeavePeriodMode{769};
inline constexpr IntWord kHawserFlag{775};        // hawser (1) or yoke (0) attachment
inline constexpr IntWord kVesselType{776};        // 1 ship .. 6 caisson spar (4 disc buoy)
inline constexpr IntWord kUserRaos{777};          // yes/no: user-supplied RAO data
inline constexpr IntWord kStaticWaveForce{778};   // yes/no: static wave force vs mooring force report
inline constexpr IntWord kMooringFeedback{779};   // yes/no: mooring forces fed back to w.f. motions
inline constexpr IntWord kSurgeDampingMode{780};  // 0 computed, 1 specified (780..785 surge, sway,
inline constexpr IntWord kSwayDampingMode{781};   // yaw damping, then surge, sway, yaw period)
inline constexpr IntWord kYawDampingMode{782};
inline constexpr IntWord kSurgePeriodMode{783};
inline constexpr IntWord kSwayPeriodMode{784};
inline constexpr IntWord kYawPeriodMode{785};
inline constexpr IntWord kTurretFlag{787};        // 1 turret (kind 15)
inline constexpr IntWord kDeckVertical{788};      // yes/no: user RAOs in deck-vertical axes
inline constexpr IntWord kMemberModel{790};       // 1: described by members (types 3, 5, 6)
inline constexpr IntWord kAuxForce2On{791};       // second external force block on
inline constexpr IntWord kAuxForce3On{795};       // third external force block on
inline constexpr RealWord kHawserPoint = kPointTable;  // x, y, z: row 1 of the point table
inline constexpr RealWord kHawserPointCopy{907};  // x, y, z (kind 10)
inline constexpr RealWord kCurrentArea{1356};     // current area of the surge and sway dampings
inline constexpr RealWord kTrim{1364};            // degrees, bow down positive
inline constexpr RealWord kHeel{1365};            // degrees, starboard down positive
inline constexpr RealWord kPitchDamping{1368};    // percent of critical (1368..1373 as 764..769)
inline constexpr RealWord kRollDamping{1369};
inline constexpr RealWord kHeaveDamping{1370};
inline constexpr RealWord kPitchPeriod{1371};     // seconds
inline constexpr RealWord kRollPeriod{1372};
inline constexpr RealWord kHeavePeriod{1373};
inline constexpr RealWord kTurretX{1374};
inline constexpr RealWord kSurgePeriod{1376};     // s when specified, else the computed mooring stiffness
inline constexpr RealWord kSwayPeriod{1377};
inline constexpr RealWord kYawPeriod{1378};
inline constexpr RealWord kHeaveMooringStiffness{1379};
inline constexpr RealWord kPitchMooringStiffness{1380};
inline constexpr RealWord kRollMooringStiffness{1381};
inline constexpr RealWord kSurgeDamping{1382};    // percent when specified, else the computed mooring damping
inline constexpr RealWord kSwayDamping{1383};
inline constexpr RealWord kYawDamping{1384};
inline constexpr RealWord kHeaveMooringDamping{1385};
inline constexpr RealWord kPitchMooringDamping{1386};
inline constexpr RealWord kRollMooringDamping{1387};
inline constexpr RealWord kDriftEnhancement{1366}; // variable wave-drift spectrum enhancement factor
inline constexpr RealWord kMotionDirection{1405}; // degrees
inline constexpr RealWord kSemiFactors{1406};     // geometry and shadowing factors, 1406 and 1407
inline constexpr RealWord kDisplacement{1408};
inline constexpr RealWord kBuoyancyCentre{1409};  // VKB
inline constexpr RealWord kGravityCentre{1410};   // VKG
inline constexpr RealWord kDraft{1411};           // mean vessel draft
inline constexpr RealWord kWaterplaneArea{1412};
inline constexpr RealWord kPitchGyradius{1413};   // pitch, roll, yaw: 1413..1415
inline constexpr RealWord kRollGyradius{1414};
inline constexpr RealWord kYawGyradius{1415};
inline constexpr RealWord kMetacentreT{1416};     // KMT
inline constexpr RealWord kMetacentreL{1417};     // KML
inline constexpr RealWord kWaterlineLength{1418};
inline constexpr RealWord kWaterlineBeam{1419};
inline constexpr RealWord kBilgeRadius{1420};
inline constexpr RealWord kBilgeKeelLength{1421};
inline constexpr RealWord kBilgeKeelWidth{1422};
inline constexpr RealWord kBilgeKeelInboard{1423};
inline constexpr RealWord kSpeed{1424};           // ft/s (English) or m/s (metric)
inline constexpr RealWord kVesselHeading{1437};   // heading in quiescent conditions, degrees
inline constexpr IntWord kAuxForceOn{1440};       // first external force block on
inline constexpr IntWord kAuxForceFrame{1441};    // frame selector of the first block (0 global)
inline constexpr IntWord kDpFlags{1442};          // bit 1 heading control, bit 2 the simulation's spring
inline constexpr IntWord kDpPositionFlags{1443};  // bit 1 position control
inline constexpr RealWord kDpHeadingTarget{1444}; // degrees, global
inline constexpr RealWord kDpYawDamping{1445};    // percent
inline constexpr RealWord kDpTorsionSpring{1446}; // moment per radian
inline constexpr RealWord kLcgToMidships{1649};
inline constexpr RealWord kDeadweight{1665};      // tanker deadweight
inline constexpr RealWord kHawserZCopy{1662};     // copy of word 906; reference height of the second body
inline constexpr RealWord kMinTableLoad{1673};    // smallest nonzero load of the interpolation tables
inline constexpr RealWord kMaxTableLoad{1674};    // largest load of the interpolation tables
inline constexpr IntWord kHawserFlagCopy{2009};   // copy of word 775
// Output options of the mooring editor (pages 20 and 21).
inline constexpr IntWord kOneSigma{99};             // 1: one-sigma statistics, 0: two-sigma
inline constexpr IntWord kSquareLawTreatment{142};  // square-law driving forces, 0..2
inline constexpr IntWord kTabSummary{147};          // yes/no: tab-delimited summary XCLDAT.stxt
inline constexpr IntWord kTabSummaryKiloNewtons{148};  // yes/no: basin load units in that summary
inline constexpr IntWord kPeakVariability{181};     // yes/no: peak variability over an ensemble of storms
inline constexpr IntWord kAlternateEquilibrium{182};  // yes/no: search for a second equilibrium
inline constexpr IntWord kGaussianPeaks{190};       // yes/no: Gaussian peak factors for LF motions
inline constexpr IntWord kExpandedGrid{192};        // yes/no: expanded cross-correlation frequency grid
inline constexpr IntWord kVerticalSuction{771};     // yes/no: wind and current vertical suction (spars)
inline constexpr IntWord kAuxForce2Frame{792};      // frame selector of the second block
inline constexpr IntWord kAuxForce3Frame{796};      // frame selector of the third block
inline constexpr RealWord kAuxForceX{1434};         // horizontal vector of the first block, x and y
inline constexpr RealWord kAuxForceY{1435};
inline constexpr RealWord kAuxForce2X{1467};        // horizontal vector of the second block
inline constexpr RealWord kAuxForce2Y{1468};
inline constexpr RealWord kAuxForce3X{1481};        // horizontal vector of the third block
inline constexpr RealWord kAuxForce3Y{1482};
inline constexpr RealWord kBuoyHeading{2671};  // degrees
inline constexpr IntWord kOnlySquareLaw{3306};      // yes/no: only square-law driving forces
// More output options of the semisubmersible editor.
inline constexpr IntWord kPhantomWeightOn{188};     // yes/no: simulated TLP mooring with a phantom weight (word 482)
    // largest load of the interpolation tables
inline constexpr RealWord kMeanFairleadX{2608};
inline constexpr RealWord kBuoyDraft{2645};       // draft of the second body (twin of 1411)
inline constexpr RealWord kHawserFairleadZ{2896};

// ---- Mooring summary and output words ----
inline constexpr IntWord kRaoComparisons{4978};   // 4978..4980: RAO outputs (any on gives word 101)
inline constexpr IntWord kFairleadRaos{4979};     // yes/no: w.f. fairlead motions and line load RAOs
inline constexpr IntWord kAnchorRaos{4980};       // yes/no: w.f. line load RAOs at the anchor (barge)
inline constexpr IntWord kOutputLowFrequency{4982};   // yes/no: low-frequency motions and loads
inline constexpr IntWord kOutputStaticOffsets{4983};  // bit 1 static offset data, bit 2 interpolation tables
inline constexpr IntWord kOutputMeanLoads{4985};      // yes/no: mean orientation and line loads
inline constexpr IntWord kNoLineLoadReports{4988};    // yes/no: no individual line loads in SNAPOUT
inline constexpr IntWord kOffsetAnalysis{4992};       // yes/no: w.f. analysis at a given LF offset
inline constexpr IntWord kOnlyWfRaos{4996};           // yes/no: only w.f. line load RAOs
inline constexpr IntWord kEllipticalBox{5001};        // yes/no: elliptical snapshot bounding box
inline constexpr IntWord kLargeAmplitude{4994};   // large-amplitude w.f. line load model
inline constexpr IntWord kBuoyantAtWaterline{4993};  // first buoyant element stays at or below the waterline
inline constexpr IntWord kInertiaCorrection{4995};  // 1 = correct tensions for line inertia
inline constexpr IntWord kEndTangentSource{4997};   // 0 = mean end tangents, else the tension rates
inline constexpr IntWord kAnySolidBottom{4998};
inline constexpr RealWord kLongestLine{4999};
inline constexpr RealWord kShortestLine{5000};
inline constexpr IntWord kExcludedLines{5002};    // excluded or broken lines, 0..120
inline constexpr IntWord kExclusionBits{5003};    // 5003..5006: the excluded lines as 4 words of 30 bits
inline constexpr IntWord kBuoySinkage{5007};      // buoy-sinkage correction on
inline constexpr IntWord kEndpointLoads{5008};    // line loads and motions at element end points
inline constexpr IntWord kQuasiStaticTension{5009};  // non-zero = tensions from the load tables
inline constexpr IntWord kInertiaExclusion{5011};   // 0 all lines corrected, > 0 the unexcluded ones
inline constexpr IntWord kInertiaExclusionBits{5012};  // 5012..5015: lines excluded from the correction, 30 a word
inline constexpr IntWord kEndpointAxes{5016};     // 1: endpoint motion along the line tangent, 0 waterplane
inline constexpr IntWord kChainHinge{5017};       // yes/no: chain hinge relative motion at the fairlead
inline constexpr IntWord kSinkageCount{28076};    // multiplier of the sinkage correction
inline constexpr IntWord kQuiescentEquilibrium{28534};  // yes/no: compute quiescent equilibrium (kind 8)
inline constexpr IntWord kPeakLoadAlgorithm{28538};  // peak line-load algorithm, 0..4
inline constexpr IntWord kCurrentLineLoads{28542};   // yes/no: current loads on lines and risers
inline constexpr IntWord kDefaultBottomFlag{28535};  // 1 solid bottom, 0 transparent
// The added-mass and drag coefficients a cleared element takes; the line
// mechanics also use them as scratch words of the element at hand.
inline constexpr RealWord kElementAddedMass{78232};
inline constexpr RealWord kElementDrag{78233};
inline constexpr RealWord kVerticalReference{78391};  // height taken off a fairlead's in a vertical line

// The three external force/moment blocks, each the same set of words: the
// switch, frame (1 vessel) and target (1 moorings) selectors, then the reals.
struct ForceBlockWords {
  IntWord on, frame, target;
  RealWord mean_x, mean_y, moment;             // force, force, moment
  RealWord spectral_force, spectral_moment;    // at resonance, per rad/s
  RealWord force_damping, moment_damping;      // per velocity, per angular rate
  RealWord peak_factor;                        // 0 or below: Rayleigh
  RealWord x, y, z;                            // point of application
};
inline constexpr std::array<ForceBlockWords, 3> kExternalForces = {{
    {kAuxForceOn, kAuxForceFrame, IntWord{789}, RealWord{1434}, RealWord{1435}, RealWord{1436}, RealWord{1459},
     RealWord{1460}, RealWord{1461}, RealWord{1462}, RealWord{1463}, RealWord{1438}, RealWord{1439}, RealWord{1458}},
    {kAuxForce2On, IntWord{792}, IntWord{793}, RealWord{1467}, RealWord{1468}, RealWord{1472}, RealWord{1473},
     RealWord{1474}, RealWord{1478}, RealWord{1479}, RealWord{1480}, RealWord{1475}, RealWord{1476}, RealWord{1477}},
    {kAuxForce3On, IntWord{796}, IntWord{797}, RealWord{1481}, RealWord{1482}, RealWord{1486}, RealWord{1487},
     RealWord{1488}, RealWord{1492}, RealWord{1493}, RealWord{1494}, RealWord{1489}, RealWord{1490}, RealWord{1491}},
}};

// Values of header words.
inline constexpr std::int32_t kLayoutOld = 49;
inline constexpr std::int32_t kLayoutCurrent = 149;
inline constexpr std::int32_t kSelectorDefault = 0x111;  // source code 1 on all three axes
inline constexpr std::int32_t kOsLinux = 21;
inline constexpr std::int32_t kOsWindows = 5;
inline constexpr std::int32_t kUnitsEnglish = 0;
inline constexpr std::int32_t kUnitsMetric = 1;

// Words stamped at every load and so carried by every save.
inline constexpr std::array<std::size_t, 12> kStampedWords = {
    kRecordLength, kProgramKind, kPreviousRunMode, kWriterRunMode, kBatchFlag, kOption106,
    kOutputDevice, kYear,        kWriterOs,        kLayoutCode,    kVersion,   kOutputUnit};

// ---- Semisubmersible and single-anchor-leg editors ----
// Table limits the semisubmersible editor sets at every editing session.
inline constexpr IntWord kSemiTableLimit3658{3658};  // 50
inline constexpr IntWord kSemiTableLimit3661{3661};  // 100
inline constexpr IntWord kSemiTableLimit3664{3664};  // 16
inline constexpr RealWord kMemberScales{3668};       // three scale factors of the member model, 3668-3670
// Single-anchor-leg words set when a data set is created.
inline constexpr IntWord kSalmOption760{760};
inline constexpr IntWord kSalmOption763{763};
inline constexpr IntWord kSalmOption1993{1993};
inline constexpr IntWord kSalmOption1994{1994};
inline constexpr IntWord kSalmOption1995{1995};
inline constexpr IntWord kSalmOption2001{2001};
inline constexpr IntWord kElementCount{2005};      // single-anchor-leg elements, up to 40
inline constexpr IntWord kSalmOption2006{2006};
inline constexpr IntWord kSalmOption2007{2007};
inline constexpr IntWord kPiercingElement{2088};    // element that pierces the water
inline constexpr IntWord kSubmergenceOption{2002};
inline constexpr IntWord kMomentElements{2004};     // elements selected for shear/moment computation
inline constexpr RealWord kPiercingWaterplaneArea{2374};
// Element tables of 40, element n at the first word + n - 1.
inline constexpr IntWord kElementJoints{2008};       // lower-joint constraint, not 0 a free joint
inline constexpr IntWord kElementMomentFlags{2048};  // bending moment computed when not 0
inline constexpr RealWord kElementLengths{2092};
inline constexpr RealWord kElementVolumes{2132};
inline constexpr RealWord kElementCentroids{2172};       // centroid of volume from the lower end
inline constexpr RealWord kElementWeights{2212};         // total dry weight
inline constexpr RealWord kElementGravityCentres{2252};  // centre of gravity from the lower end
inline constexpr RealWord kElementSpare{2292};           // copied with the element, not shown
inline constexpr RealWord kElementGyradii{2332};
// More single-anchor-leg information: submergence option (2002 above), the
// auxiliary offset tables of 90 rows (row count word 1914) and the vessel
// attachment (type in word 775, x-coordinate word 1374, separation 1375).
inline constexpr IntWord kAuxYawTableOn{1908};
inline constexpr IntWord kAuxLateralTableOn{1909};
inline constexpr RealWord kAuxYawIncrement{1670};        // degrees
inline constexpr RealWord kAuxEquilibriumYaw{1671};      // degrees
inline constexpr RealWord kAuxLateralForces{1685};       // 90 rows, 1685-1774
inline constexpr RealWord kAuxYawTorques{1775};          // 90 rows, 1775-1864
inline constexpr int kAuxTableRows = 90;
inline constexpr RealWord kYokeHeight{2373};             // yoke to waterline height at the vessel
inline constexpr int kMaxSalmElements = 40;
inline constexpr IntWord kSalmOption2372{2372};
inline constexpr IntWord kSalmOption2469{2469};
inline constexpr IntWord kNoQuasiStatics{2470};     // 1 when the hawser flag (775) is -1: pages 4-8 passed
inline constexpr RealWord kAttachmentSeparation{1375};
inline constexpr RealWord kElementAddedMassTable{2376};  // 40 elements, 2376-2415
inline constexpr RealWord kElementDragTable{2416};       // 40 elements, 2416-2455
inline constexpr RealWord kDefaultElementAddedMass{2456};
inline constexpr RealWord kDefaultElementDrag{2457};
// Words of the single-anchor-leg information and output-option pages.
inline constexpr RealWord kOffsetIncrement{1672};      // offset step of the static offset table
inline constexpr IntWord kLoadVariationCopy{1987};     // follows word 1993 at each display of the output page
inline constexpr IntWord kJointPositionRaos{1988};     // yes/no: position RAOs at free joints
inline constexpr IntWord kArticulationAngleRaos{1989}; // yes/no: angle RAOs of articulated members
inline constexpr IntWord kMemberFixedLoads{1997};      // 1: loads decomposed in member-fixed coordinates
inline constexpr IntWord kSimplifiedMemberDrag{1998};  // yes/no: simplified member drag model
inline constexpr IntWord kSpectralRaoOutput{102};      // yes/no: spectral densities in place of RAOs
inline constexpr IntWord kPlotterFile{112};            // yes/no: create the plotter file

// ---- Regions and record sizes ----
inline constexpr std::size_t kVesselWords = 1987;    // header and vessel data: kinds 1 and 4
inline constexpr std::size_t kSecondVesselWords = 4975;  // up to the slow-drift data: kinds 3, 11, 16
inline constexpr std::size_t kMooredWords = kTpcmWords;  // 78,635: moored kinds
inline constexpr std::size_t kMooringRegionFirst = 4975;
// The largest record of any kind (kind 8); the load buffers have this size.
inline constexpr std::size_t kLoadBufferWords = 79676;

// Eight-character segment names of the moored kinds: 25 segments by 150
// lines, two words each, line i and segment j (from 1) at
// 28,581 + 50 (i - 1) + 2 (j - 1).
inline constexpr std::size_t kSegmentNames = 28581;
inline constexpr std::size_t kSegmentNameLines = 150;
inline constexpr std::size_t kSegmentsPerLine = 25;
inline constexpr std::size_t kSegmentNameChars = 8;
// Word of the name of segment j of line i; nullopt outside the table.
std::optional<std::size_t> segment_name_word(int line, int segment);

// ---- Mooring region: legs, line types and their sublines ----
// Every table of the mooring region is addressed through the accessors
// below, 1-based as the pages number legs, types and sublines. Each returns
// nullopt for an index outside its table, so a count read from the record
// can never reach a word of a neighbouring table. Loops over the tables run
// to the count word clamped with table_count().
inline constexpr int kLegCapacity = 150;      // mooring legs (fairleads)
inline constexpr int kLineTypeCapacity = 150; // line types
inline constexpr int kSublineCapacity = static_cast<int>(kSegmentsPerLine);  // sublines per type

// Count words of the mooring region.
inline constexpr IntWord kMooringLegs{28381};       // legs in use
inline constexpr IntWord kMooringLegsMax{28382};    // largest leg count allowed
inline constexpr IntWord kLineTypes{28226};         // line types in use
inline constexpr IntWord kLineTypesMax{28227};      // largest type count allowed
inline constexpr IntWord kSublinesMax{28378};       // largest subline count of a type
inline constexpr IntWord kInterpLayers{28379};      // vertical interpolation layers
inline constexpr IntWord kDynamicLines{28380};      // lines selected for dynamic evaluation
inline constexpr IntWord kProfileMode{28537};       // 0 angle, 1 distance, 2 tension, 3 horizontal force
inline constexpr IntWord kAnchorDepthsPerType{28539};  // 1: each line type has its own anchor depth
inline constexpr IntWord kHawserType{28540};        // line type of the hawser
inline constexpr IntWord kHawserLine{28541};        // line number of the hawser
inline constexpr RealWord kDefaultAnchorDepth{78231};
inline constexpr RealWord kDefaultFriction{78234};  // default bottom friction coefficient
inline constexpr RealWord kInterpSpan{78385};       // span of the vertical interpolation region
inline constexpr RealWord kMomentCentre{78386};     // x, y, z of the moment evaluation centre

// A count word held within 0..capacity, the bound of every loop over a table.
int table_count(std::int32_t count, int capacity);

// Per leg i (1..150): the mean-profile value (real, in the quantity of word
// 28537), the plan-view departure angle (real, degrees), coordinate k (1 x,
// 2 y, 3 z) of the fairlead, and the number of the i-th line selected for
// dynamic evaluation.
std::optional<std::size_t> profile_value_word(int leg);
std::optional<std::size_t> departure_angle_word(int leg);
std::optional<std::size_t> fairlead_word(int leg, int coord);
std::optional<std::size_t> dynamic_line_word(int i);
// Coordinate k of the copy of fairlead i in the buoy table of kinds 10 and
// 13: a table of 149 rows, so leg 150 has no copy.
inline constexpr int kBuoyFairleadCapacity = 149;
std::optional<std::size_t> buoy_fairlead_word(int leg, int coord);

// Per line type t (1..150): the number of legs and of sublines, the line
// number of its k-th leg (k 1..150), the anchor depth (real), the bottom flag
// (1 solid, 0 transparent) and the bits (bit s for subline s) of the sublines
// whose elastic data come from the database file.
std::optional<std::size_t> type_legs_word(int type);
std::optional<std::size_t> type_sublines_word(int type);
std::optional<std::size_t> type_line_word(int type, int k);
std::optional<std::size_t> anchor_depth_word(int type);
std::optional<std::size_t> bottom_flag_word(int type);
std::optional<std::size_t> elastic_file_bits_word(int type);
// Spring-buoy buoyancy and clump weight of type t (reals, kind 7). The two
// tables lie 12 words apart, so only types 1..12 have them.
inline constexpr int kClumpTypeCapacity = 12;
std::optional<std::size_t> spring_buoy_word(int type);
std::optional<std::size_t> clump_weight_word(int type);

// The real fields of element (subline s, type t): one word each at
// first + (s - 1) + 25 (t - 1). The value is the first word of the table.
enum class ElementField : std::size_t {
  kLength = 36081,
  kDiameter = 39831,
  kImmersedWeight = 43581,  // per unit length
  kBreakingStrength = 58581,
  kAddedMass = 62931,
  kDrag = 66681,            // transverse square-law drag coefficient
  kDryWeight = 70431,       // per unit length
  kReserve = 74181,
};
std::optional<std::size_t> element_word(ElementField field, int subline, int type);
// Compliance coefficient k (1..3) of element (s, t): 47331 + 3e + (k - 1).
std::optional<std::size_t> compliance_word(int subline, int type, int k);
// First of the two words of the 8-character composition of element (s, t):
// the segment name of line t, segment s.
std::optional<std::size_t> composition_word(int subline, int type);

// ---- Program kinds ----
inline constexpr int kKindCount = 20;       // entries of styp
inline constexpr int kSizedKindCount = 17;  // kinds with a record size: 1..17

// Seven-character product name of a program kind (blank for kinds 5, 6 and
// 18 to 20); "UNKNOWN" for a kind outside 1 to 20.
std::string_view styp(int kind);

// Record size (words written and read) of a program kind; 0 where the size
// is not checked (kinds 2, 5, 6, 9 and kinds outside 1 to 17).
int record_size(int kind);

// True for the moored kinds whose records hold segment names (7, 8, 10, 12
// to 15 and 17).
bool has_segment_names(int kind);

// ---- Text byte order ----
// Text words keep the byte order of the machine that wrote them. Codes below
// 5 are big-endian machines, 5 and above little-endian: text written on one
// side and read on the other needs its four characters reversed per word.
bool needs_text_repair(int writer_os, int reader_os);

// Reverses the four characters of one text word.
std::int32_t reverse_text_word(std::int32_t word);

// Reverses the characters of each word of the record's texts: the two
// identification lines and, for the kinds with segment names, every segment
// name.
void repair_text_order(Tpcm& tpcm, int kind);

// ---- lowcof ("LOWDAT") ----
// Words 0..3 hold the row counts of tables 1 to 4 (wind, current, 3, 4);
// table t (1..4) holds 84 reals from word 4 + 84 (t - 1): four columns of 21
// values (attack angle, Cx, Cy, Cz). Words 340..679 are not used and are
// kept as loaded.
inline constexpr std::size_t kLowcofTables = 4;
inline constexpr std::size_t kLowcofRows = 21;
inline constexpr std::size_t kLowcofColumns = 4;
inline constexpr std::size_t kLowcofTableWords = kLowcofRows * kLowcofColumns;  // 84
inline constexpr std::size_t kLowcofFirstTable = 4;
inline constexpr std::size_t kLowcofUnusedFirst = kLowcofFirstTable + kLowcofTables * kLowcofTableWords;  // 340
inline constexpr int kLowcofWindTable = 1;
inline constexpr int kLowcofCurrentTable = 2;
inline constexpr int kLowcofAngle = 0;
inline constexpr int kLowcofCx = 1;
inline constexpr int kLowcofCy = 2;
inline constexpr int kLowcofCz = 3;

// Word of the row count of table t (1..4); nullopt outside.
std::optional<std::size_t> lowcof_count_word(int table);
// First word of table t (1..4); nullopt outside.
std::optional<std::size_t> lowcof_table_word(int table);
// Word of row `row` (1..21) of column `column` (0 angle, 1 Cx, 2 Cy, 3 Cz) of
// table t (1..4); nullopt outside.
std::optional<std::size_t> lowcof_word(int table, int column, int row);


}  // namespace kelp
