! Writes the disc-buoy file of version 3.9 (old fairlead layout) read back
! by tests/disc/disc_upgrader_test.cpp. Build and run once from
! tests/data/records:
!   gfortran -o /tmp/write_old_disc ../../disc/gfortran/write_old_disc.f90 && /tmp/write_old_disc
! Output: gfortran_RONDDAT_390, 1,987 words (word 0 = 1987), one unformatted
! big-endian record. Word w of the sentinels holds 1000000 + w; word 1200
! holds the real 28.65.
program write_old_disc
  implicit none
  integer, parameter :: n = 1987
  integer :: iw(0:n-1)
  real :: rw(0:n-1)
  equivalence (iw, rw)
  integer :: k
  integer, parameter :: sentinels(11) = (/ 100, 270, 321, 322, 323, 324, 350, 400, 500, 637, 700 /)

  iw = 0
  iw(0) = n
  iw(1) = 4
  iw(6) = 2
  iw(14) = 49
  iw(108) = 1
  iw(120) = 21
  rw(216) = 3.9
  do k = 1, size(sentinels)
    iw(sentinels(k)) = 1000000 + sentinels(k)
  end do
  rw(1200) = 28.65
  iw(1300) = 1001300
  iw(1400) = 1001400

  open(10, file='gfortran_RONDDAT_390', access='sequential', form='unformatted', &
       convert='big_endian', status='replace')
  write(10) iw(0:n-1)
  close(10)
end program write_old_disc
