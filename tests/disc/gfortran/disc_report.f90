! Writes the expected report sections of the disc-buoy kernel read by
! tests/disc/s/disc_report_test.cpp: section I of a metric buoy, section II
! unmoored (metric) and moored (unit system 2, slope, a given roll and yaw
! damping, the user-RAO note). Run once from tests/data/disc:
!   gfortran -o /tmp/disc_report ../../disc/gfortran/disc_report.f90 && /tmp/disc_report
! The values are those the test puts into the record and the work area.
program disc_report
  implicit none
  character(len=8) :: len8, u8
  character(len=24) :: tran, rot
  real :: w(6), dmp(6), mass(6), rho, per
  integer :: k
  character(len=40) :: plab(6), dlab(6), mplab(6), mdlab(6)
  logical :: isrot(6)
  plab(1) = 'UNMOORED ROLL PERIOD ...................'
  plab(2) = 'UNMOORED PITCH PERIOD ..................'
  plab(3) = 'UNMOORED HEAVE PERIOD ..................'
  dlab(1) = 'UNMOORED ROLL DAMPING ..................'
  dlab(2) = 'UNMOORED PITCH DAMPING .................'
  dlab(3) = 'UNMOORED HEAVE DAMPING .................'
  mplab(1) = 'MOOR-MODIFIED ROLL PERIOD ..............'
  mplab(2) = 'MOOR-MODIFIED PITCH PERIOD .............'
  mplab(3) = 'MOOR-MODIFIED HEAVE PERIOD .............'
  mplab(4) = 'MOOR-MODIFIED SURGE PERIOD .............'
  mplab(5) = 'MOOR-MODIFIED SWAY PERIOD ..............'
  mplab(6) = 'MOOR-MODIFIED YAW PERIOD ...............'
  mdlab(1) = 'MOOR-MODIFIED ROLL DAMPING .............'
  mdlab(2) = 'MOOR-MODIFIED PITCH DAMPING ............'
  mdlab(3) = 'MOOR-MODIFIED HEAVE DAMPING ............'
  mdlab(4) = 'MOOR-MODIFIED SURGE DAMPING ............'
  mdlab(5) = 'MOOR-MODIFIED SWAY DAMPING .............'
  mdlab(6) = 'MOOR-MODIFIED YAW DAMPING ..............'
  isrot = (/ .true., .true., .false., .false., .false., .true. /)
  rho = 1.025
  ! roll, pitch, heave, surge, sway, yaw
  w = (/ 1.25, 1.2, 1.4, 0.2, 0.21, 0.3 /)
  mass = (/ 2100.0, 2050.0, 400.0, 198.0, 198.0, 1924.0 /)

  ! ---- Section I, metric ----
  open(10, file='report_summary.txt', status='replace')
  len8 = 'METERS'
  write(10, 100)
  write(10, '(3X,''*****************   I.  PHYSICAL CHARACTERISTICS SUMMARY   '',''*****************'')')
  write(10, 100)
  write(10, '(1X,//,5X,''----  SITE CHARACTERISTICS  ----''//)')
  write(10, 110) 'WATER DEPTH ', repeat('.', 27), 100.0, len8
  write(10, 110) 'WATER DENSITY ', repeat('.', 25), 1025.0, 'KGW     '//'/CUBIC '//len8(1:5)
  write(10, '(1X,//,5X,''----  VESSEL CHARACTERISTICS  ----''//)')
  write(10, 110) 'DISPLACEMENT ', repeat('.', 26), 161.01, 'M.TONS  '
  write(10, 110) 'WATER PLANE AREA ', repeat('.', 22), 78.54, ' SQUARE '//len8
  write(10, 110) 'VERTICAL (Z) KB ', repeat('.', 23), 1.0, len8
  write(10, 110) 'DRAFT ', repeat('.', 33), 2.0, len8
  write(10, '(A)') ''
  write(10, 110) 'VERTICAL (Z) KG ', repeat('.', 23), 1.5, len8
  write(10, 110) 'NATURAL ROLL CENTER (VKR) ', repeat('.', 13), 1.2907, len8
  write(10, 110) 'NATURAL PITCH CENTER (VKP) ', repeat('.', 12), 1.2907, len8
  write(10, '(A)') ''
  write(10, 110) 'PITCH GYRADIUS ', repeat('.', 24), 3.0, len8
  write(10, 110) 'ROLL GYRADIUS ', repeat('.', 25), 3.0, len8
  write(10, 110) 'YAW GYRADIUS ', repeat('.', 26), 3.5, len8
  write(10, '(A)') ''
  write(10, 110) 'LONGITUDINAL GM (GML) ', repeat('.', 17), 2.625, len8
  write(10, 110) 'LONGITUDINAL KM (KML) ', repeat('.', 17), 4.125, len8
  write(10, 110) 'LONGITUDINAL IWP/DELTA ', repeat('.', 16), 4.125 - 1.0, len8
  write(10, '(A)') ''
  write(10, 110) 'TRANSVERSE GM (GMT) ', repeat('.', 19), 2.625, len8
  write(10, 110) 'TRANSVERSE KM (KMT) ', repeat('.', 19), 4.1, len8
  write(10, 110) 'TRANSVERSE IWP/DELTA ', repeat('.', 18), 4.1 - 1.0, len8
  close(10)

  ! ---- Section II, unmoored, metric ----
  open(10, file='report_unmoored.txt', status='replace')
  tran = ' m.ton/(m/sec)'
  rot = ' m.ton*m./(rad/sec)'
  dmp(1:3) = (/ 50.0 * 0.05, 50.0 * 0.06, 50.0 * 0.1 /)
  write(10, 100)
  write(10, 120)
  write(10, 100)
  write(10, '(1X,///,5X,''----  NATURAL PERIODS AT ZERO SPEED  ----''///)')
  do k = 1, 3
    per = 6.2831855 / w(k)
    write(10, '(15X,A,F6.1,1X,A)') plab(k), per, 'SECONDS '
  end do
  write(10, '(A)') '', '', ''
  write(10, '(5X,''----  QUASI-LINEAR DAMPING '',''COEFFICIENTS  ----'')')
  write(10, '(A)') '', '', ''
  do k = 1, 3
    write(10, '(15X,A,F6.1,1X,A)') dlab(k), dmp(k), 'PERCENT '
    if (isrot(k)) then
      write(10, 130) w(k) * 0.02 * rho * mass(k), rot
    else
      write(10, 130) w(k) * 0.02 * rho * mass(k), tran
    end if
  end do
  write(10, '(///,15X,''REGULAR WAVE '',A6,''.....................'',F6.1,1X,A8)') 'HEIGHT', 2.0, len8
  write(10, '(15X,''WATER DEPTH ............................'',F6.1,1X,A8)') 100.0, len8
  close(10)

  ! ---- Section II, moored, unit system 2 ----
  open(10, file='report_moored.txt', status='replace')
  u8 = 'FT'
  tran = ' PROBLEM here!'
  rot = tran
  ! roll given 3 %; pitch and heave with mooring dampings 50 and 20;
  ! surge, sway 50 x own; yaw given 4 %.
  dmp(1) = 3.0
  dmp(2) = 50.0 * 50.0 / (rho * w(2) * mass(2)) + 50.0 * 0.06
  dmp(3) = 50.0 * 20.0 / (rho * w(3) * mass(3)) + 50.0 * 0.1
  dmp(4) = 50.0 * 0.02
  dmp(5) = 50.0 * 0.03
  dmp(6) = 4.0
  write(10, 100)
  write(10, 120)
  write(10, 100)
  write(10, '(A)') ''
  write(10, '(A)') ' >>> NOTE:  The data on this page represent RONDIXA estimates;'
  write(10, '(A)') '            Motion data on subsequent pages derive from USER-SUPPLIED RAOs'
  write(10, '(A)') '            which may or may not be consistent with the data on this page.'
  write(10, '(A)') ''
  write(10, '(1X,///,5X,''----  NATURAL PERIODS AT ZERO SPEED  ----''///)')
  write(10, '(A)') ''
  do k = 1, 6
    per = 6.2831855 / w(k)
    write(10, '(15X,A,F6.1,1X,A)') mplab(k), per, 'SECONDS '
  end do
  write(10, '(A)') '', '', ''
  write(10, '(5X,''----  QUASI-LINEAR DAMPING '',''COEFFICIENTS  ----'')')
  write(10, '(A)') '', '', ''
  write(10, '(A)') ''
  do k = 1, 6
    write(10, '(15X,A,F6.1,1X,A)') mdlab(k), dmp(k), 'PERCENT '
    if (isrot(k)) then
      write(10, 130) w(k) * 0.02 * rho * mass(k), rot
    else
      write(10, 130) w(k) * 0.02 * rho * mass(k), tran
    end if
  end do
  write(10, '(///,15X,''REGULAR WAVE '',A6,''.....................'',F6.1,1X,A8)') 'SLOPE ', 5.0, 'DEGREES '
  write(10, '(15X,''WATER DEPTH ............................'',F6.1,1X,A8)') 100.0, u8
  close(10)

100 format(3X,'**',72X,'**')
110 format(15X,A,A,F10.2,1X,A)
120 format(3X,'***************  II.  UNMOORED VESSEL MOTION ','CHARACTERISTICS  ','**************')
130 format(15X,'Damping conversion: 1% = ',E10.3,A/)
end program disc_report
