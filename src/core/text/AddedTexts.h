// The texts the windows gained after the fit's lines: lines 165 on of the
// language files. Each has a built-in text in both languages, so a language
// file written before a line existed still gives every window its texts.
// New lines are appended just before End, never inserted: a line's number is
// its position in the files.
#pragma once

namespace kavrin {

enum class AddedText {
    First = 165,
    // The picture windows: a time refused before its data are loaded.
    TimeWithoutCompleteResults = 165,  // %1: the time
    AnimationFrameOf,                  // %1 of %2: the frame shown, the frames
    AnimationInterval,                 // %1: the interval in seconds
    // The charts: the line that says where and when a chart is.
    ChartNodeLine,          // %1, %2: the node's x and y
    ChartLongitudinalLine,  // %1: the time, %2: the line's y
    ChartTransversalLine,   // %1: the time, %2: the line's x
    // The checks before a run: %1 is the field's caption.
    PorosityOutOfRange,
    ValueNegativeOrNotFinite,
    // The calibration window.
    AtLowerBound,  // a fitted value that ended on its lower bound
    AtUpperBound,
    ObservationCellPlace,  // %1: the row, %2: the column's heading
    ObservationsTab,       // the calibration window's tab of the table and the comparison
    // Saving and quitting
    NoMapToSave,
    SaveWithRunParameters,
    // The help window's buttons, their tooltips, and its message when no
    // web browser took the page.
    HelpBack,
    HelpBackTip,
    HelpForward,
    HelpForwardTip,
    HelpHome,
    HelpHomeTip,
    HelpOpenInBrowser,
    HelpOpenInBrowserTip,
    HelpNoBrowser,
    // The source window, its button on the data window and its menu entry.
    SourceWindowCaption,
    SourceHistoryGroup,
    SourceConstant,
    SourceDecayChoice,
    SourceStopChoice,
    SourceStepsChoice,
    SourceDecayRate,
    SourceHalfLife,
    SourceReleaseEnd,
    SourceStepStart,
    SourceStepRelative,
    SourceStepName,  // %1: the step's row
    SourceAddRow,
    SourceRemoveRow,
    SourceZonesGroup,
    SourceZoneY,
    SourceZoneZ,
    SourceZoneWidth,
    SourceZoneHeight,
    SourceZoneConcentration,
    SourceZoneName,  // %1: the zone's row
    SourceFirstZoneNote,
    SourceControlPlane,
    SourceControlPlaneNone,
    // The source texts refused, one line per rule: %1 names the value.
    SourceUnknownName,
    SourceUnknownHistory,
    SourceNotANumber,
    SourceNotPositive,
    SourceStepsNotIncreasing,
    SourceZoneSize,
    SourceTooManyZones,
    SourceZonesOverlap,
    SourceControlPlaneOutside,  // %2: the grid's last X
    SourceMissingValue,
    // The mass-balance chart.
    MassBalanceChart,
    MassBalanceMassAxis,
    MassBalanceDischargeAxis,
    MassBalancePresent,
    MassBalanceDecayed,
    MassBalanceDischargeControl,  // %1: the control plane's X
    MassBalanceDischargeEdge,     // %1: the grid's last X
    MassBalanceDetail,            // %1, %2: the first and last time
    // Saving a parameter file from a project that uses source options.
    ParameterFileDropsSourceOptions,
    // The fit's source parameters.
    FitSourceDecay,
    FitZoneConcentration,  // %1: the zone's number
    FitParameterUnused,    // %1: the parameter
    // The data window's retardation field.
    RetardationHint,
    // The uncertainty window.
    UncertaintyWindowCaption,
    UncertaintySettingsTab,
    UncertaintyMapTab,
    UncertaintyReceptorTab,
    UncertaintyParametersGroup,
    UncertaintyParameterColumn,
    UncertaintyValueColumn,
    UncertaintyDistributionColumn,
    UncertaintyArgumentA,
    UncertaintyArgumentB,
    UncertaintyArgumentC,
    UncertaintyFixed,
    UncertaintyUniform,
    UncertaintyNormal,
    UncertaintyLognormal,
    UncertaintyTriangular,
    UncertaintyFromFit,
    UncertaintyArgumentsLegend,
    UncertaintyStandard,
    UncertaintyMoreThresholds,
    UncertaintyRealizations,
    UncertaintySeed,
    UncertaintyLatinHypercube,
    UncertaintyTimes,
    UncertaintyReceptors,
    UncertaintyRun,
    UncertaintyCancel,
    UncertaintyProgress,  // %1 of %2: realizations done, asked for
    UncertaintyCancelled,
    UncertaintyFinished,  // %1: the realizations, %2: the seconds
    UncertaintyNeedsResults,
    UncertaintyNotANumber,  // %1: the field's caption, %2: the text
    UncertaintyMapChoice,
    UncertaintyMapTime,
    UncertaintyExceedanceMap,  // %1: the threshold (mg/L)
    UncertaintyMeanMap,
    UncertaintySdMap,
    UncertaintyPercentileMap,  // %1: 5, 50 or 95
    UncertaintyProbabilityScale,
    UncertaintyOutlines,
    UncertaintyReceptorChoice,
    UncertaintyReceptorItem,  // %1: the number, %2, %3, %4: x, y, z
    UncertaintyConcentrationAxis,
    UncertaintyStandardLine,  // %1: the standard (mg/L)
    UncertaintyExceededByNow,
    UncertaintySavePicture,
    UncertaintyCopyValues,
    UncertaintyPlumeLength,  // %1, %2, %3: the plume length's 5th, 50th and 95th percentiles (m)
    // An uncertainty run's refusals, one per rule: %1 is the subject.
    UncertaintyNotAVariedText,
    UncertaintyUnknownParameter,
    UncertaintyUnknownDistribution,
    UncertaintyWrongArgumentCount,
    UncertaintyArgumentNotANumber,
    UncertaintyArgumentNotFinite,
    UncertaintyInvertedArguments,
    UncertaintySpreadNotPositive,
    UncertaintyOutsidePhysicalRange,
    UncertaintyParameterNotUsed,
    UncertaintyVariedTwice,
    UncertaintyTooFewRealizations,
    UncertaintyTooManyRealizations,
    UncertaintyNoThreshold,
    UncertaintyTooManyThresholds,
    UncertaintyThresholdNotPositive,
    UncertaintyNoFit,
    UncertaintySingularFitCovariance,
    UncertaintyNoTime,
    UncertaintyTimeNotPositive,
    UncertaintyTooManyReceptors,
    UncertaintyReceptorNotFinite,
    UncertaintyPartOutOfRange,
    UncertaintyNothingVaried,
    // The export onto the site map (export window and its menu item).
    SiteExportMenu,
    SiteExportFormat,
    SiteFormatGeoTiff,
    SiteFormatNorthUp,
    SiteFormatContours,
    SiteFormatLevels,
    SiteFormatWells,
    SiteFormatMapWorld,
    SiteEasting,
    SiteNorthing,
    SiteAzimuth,
    SiteCrs,
    SiteNorthUpCell,
    SiteLevels,
    SiteLocalCoordinates,
    SiteNoCrs,
    SiteNotANumber,  // %1: the field, %2: its text
    // The fit's several starts, conditioning, profile intervals and residuals.
    FitSeveralStarts,
    FitSeed,
    FitProfileChoice,
    FitProfileNone,
    FitStartsProgress,   // %1: the starts done, %2: of how many, %3: the best objective
    FitProfileProgress,  // %1: the profile's fits, %2: the objective
    FitStartsSummary,    // %1: the starts, %2: the seed, %3: how many reached the best
    FitStartsFailed,     // %1: how many
    FitOtherMinimum,     // %1: the objective, %2: the starts, %3: the values
    FitConditionNumber,  // %1: the number
    FitWeakCombination,  // %1: the combination
    FitProfileInterval,  // %1: the parameter, %2, %3: the ends
    FitProfileAtBound,   // %1: the end on the bound
    FitProfileFailed,    // %1: why
    FitResidualAxis,
    FitResidualsAgainst,
    FitResidualAbscissas,  // time, distance, calculated, |-separated
    // The calibration stored with the project.
    CalibrationChangedSave,
    StoredObservationsUnread,  // %1: the file, %2: why
    // The map's report options: the panel of the map window and what the
    // picture adds (its legend, axis titles and flow arrow).
    MapOptionsButton,
    MapOptionsButtonTip,
    MapLogScale,
    MapDecadesSuffix,
    MapStandardLabel,
    MapWellsOption,
    MapAxesOption,
    MapPictureSize,
    MapPictureSizeTip,
    MapStandardRefused,     // %1: the text typed
    MapStandardLegend,      // %1: the standard in mg/L
    MapStandardNotReached,  // after the standard's legend when no value reaches it
    MapWellsLegend,
    MapResidualPositive,
    MapResidualNegative,
    MapWellsLeftOut,  // %1: how many wells lie outside the plot
    MapAxisX,
    MapAxisY,
    MapFlow,
    // The plume's metrics under the map.
    PlumeMetricsLine = 362,   // %1: the standard, %2: length, %3: width, %4: area
    PlumeMetricsBeyond,       // %1: the distance, %2: the largest concentration beyond it
    PlumeMetricsOutsideGrid,  // %1: the distance
    PlumeMetricsNotDistance,  // %1: the text typed
    PlumeMetricsLowerBound,
    PlumeMetricsNoStandard,
    PlumeMetricsBeyondCaption,
    PlumeMetricsCopy,
    PlumeMetricsColumns,  // the copied columns' titles, |-separated
    // The charts' several curves, logarithmic axis, standard and saved values.
    ChartAddCurve,
    ChartAddCurveHint,
    ChartClearCurves,
    ChartClearCurvesHint,
    ChartLogarithmicAxis,
    ChartSaveValues,
    ChartValuesFilter,
    ChartNoCurveToAdd,
    ChartCurveAlreadyAdded,
    ChartCurveNode,           // %1, %2: the node's x and y
    ChartCurveTime,           // %1: the time
    ChartCurveTimeAt,         // %1: the time, %2: the axis across (X or Y), %3: the position on it
    ChartCurvesAlong,         // %1: the axis across, %2: the position on it
    ChartLogarithmicLeftOut,  // %1: how many values
    ChartStandardLine,        // %1: the standard
    // The picture formats of the save dialogs, after each command's own filter.
    PictureFilterBitmap,  // the map's and the charts' own filter: today's bitmap under ".jpeg"
    PictureFilterPng,
    PictureFilterSvg,
    PictureFilterPdf,
    FrameFilterPng,  // the animation's frames, one file per time
    FrameFilterSvg,
    FrameFilterPdf,          // one page per time
    GaussOrderOutsideTable,  // %1 the order typed
    End,                     // one past the last line
};

constexpr int kFirstAddedTextLine = static_cast<int>(AddedText::First);
constexpr int kAddedTextLines = static_cast<int>(AddedText::End) - kFirstAddedTextLine;

// The built-in text of a line (UTF-8), in Portuguese or English.
const char* BuiltInAddedText(int line, bool portuguese);

}  // namespace kavrin
