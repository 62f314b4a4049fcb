import static org.junit.Assert.assertEquals;
import static org.junit.Assert.assertFalse;
import static org.junit.Assert.assertNotEquals;
import static org.junit.Assert.assertNotNull;
import static org.junit.Assert.assertNull;
import static org.junit.Assert.assertTrue;

import java.awt.Choice;
import java.awt.Color;
import java.awt.Component;
import java.awt.EventQueue;
import java.awt.Frame;
import java.awt.Point;
import java.awt.Rectangle;
import java.awt.Robot;
import java.awt.event.InputEvent;
import java.awt.event.ItemEvent;
import java.awt.event.MouseEvent;
import java.awt.image.BufferedImage;
import java.io.File;
import java.util.ArrayList;
import java.util.List;
import java.util.concurrent.Callable;
import java.util.concurrent.atomic.AtomicReference;
import javax.imageio.ImageIO;
import org.junit.After;
import org.junit.Rule;
import org.junit.Test;
import org.junit.rules.TemporaryFolder;

/** The applet as a visitor meets it on an album page, in a window on a (virtual) display. */
@SuppressWarnings("removal")
public class PhotoAlbumTest {
  @Rule public TemporaryFolder temp = new TemporaryFolder();

  private Frame frame_;

  @After
  public void closeWindow() throws Exception {
    if (frame_ != null) onEdt(() -> { frame_.dispose(); return null; });
  }

  private AlbumSite threePictureSite() throws Exception {
    AlbumSite site = new AlbumSite(temp.newFolder("site"));
    site.writePicture(0, "harbour.jpg", 640, 420, new Color(0x2E, 0x6D, 0xB4));
    site.writePicture(0, "garden.gif", 120, 90, new Color(0x3C, 0x9A, 0x4A));
    site.writePicture(0, "tower.jpg", 300, 900, new Color(0xC0, 0x50, 0x30));
    site.writeIndex(0, "windows-1252", new String[][] {
      {"harbour.jpg", "Boats in the harbour at dawn"},
      {"garden.gif", ""},
      {"tower.jpg", "The old tower"},
    });
    return site;
  }

  private PhotoAlbum open(AlbumPageStub stub) throws Exception {
    return onEdt(() -> {
      PhotoAlbum applet = new PhotoAlbum();
      applet.setStub(stub);
      frame_ = new Frame("Torvexa");
      frame_.add(applet);
      frame_.setSize(1000, 660);
      applet.init();
      frame_.setVisible(true);
      frame_.validate();
      applet.start();
      return applet;
    });
  }

  private PhotoAlbum open(AlbumSite site) throws Exception {
    return open(new AlbumPageStub(site, 0));
  }

  private static <T> T onEdt(Callable<T> work) throws Exception {
    AtomicReference<T> result = new AtomicReference<T>();
    AtomicReference<Exception> failure = new AtomicReference<Exception>();
    EventQueue.invokeAndWait(() -> {
      try {
        result.set(work.call());
      } catch (Exception e) {
        failure.set(e);
      }
    });
    if (failure.get() != null) throw failure.get();
    return result.get();
  }

  private static void click(Component target) throws Exception {
    onEdt(() -> {
      long now = System.currentTimeMillis();
      int x = target.getWidth() / 2;
      int y = target.getHeight() / 2;
      target.dispatchEvent(new MouseEvent(target, MouseEvent.MOUSE_PRESSED, now, InputEvent.BUTTON1_DOWN_MASK, x, y, 1, false, MouseEvent.BUTTON1));
      target.dispatchEvent(new MouseEvent(target, MouseEvent.MOUSE_RELEASED, now, 0, x, y, 1, false, MouseEvent.BUTTON1));
      target.dispatchEvent(new MouseEvent(target, MouseEvent.MOUSE_CLICKED, now, 0, x, y, 1, false, MouseEvent.BUTTON1));
      return null;
    });
  }

  @Test
  public void showsOneButtonPerListedPictureUpToOneHundred() throws Exception {
    int[][] cases = {{1, 1}, {3, 3}, {100, 100}, {120, 100}};
    for (int[] c : cases) {
      AlbumSite site = new AlbumSite(temp.newFolder());
      String[][] entries = new String[c[0]][];
      for (int i = 0; i < c[0]; i++) entries[i] = new String[] {"p" + i + ".jpg", "comment " + i};
      site.writePicture(0, "p0.jpg", 40, 30, Color.ORANGE);
      site.writeIndex(0, "windows-1252", entries);
      PhotoAlbum applet = open(site);
      String label = c[0] + " listed";
      assertEquals(label, c[1], applet.getIndexPanel().getButtonCount());
      assertEquals(label, c[1], applet.getPictureCount());
      assertEquals(label, c[0] > 100 ? rmInfo.LIMIT_NOTE : "", applet.getBanner().getNote());
      closeWindow();
    }
  }

  @Test
  public void opensOnTheFirstPictureWithItsComment() throws Exception {
    PhotoAlbum applet = open(threePictureSite());
    assertEquals(0, applet.getCurrentPicture());
    assertEquals("Boats in the harbour at dawn", applet.getAlbumLeaf().getComment());
    LeafPicture picture = applet.getAlbumLeaf().getLeafPicture();
    assertFalse(picture.isMissing());
    assertEquals("harbour.jpg", picture.getPictureName());
    assertNotNull(picture.getPictureBounds());
    assertTrue(applet.getIndexPanel().getButton(0).isSelected());
    assertEquals("Picture 1 of 3", applet.getBanner().getPosition());
  }

  @Test
  public void navigationButtonsMoveAndStopAtTheEnds() throws Exception {
    PhotoAlbum applet = open(threePictureSite());
    AlbumNavigationPanel navigation = applet.getNavigationPanel();
    // Button pressed, picture shown afterwards, then which of |< < > >| are enabled.
    Object[][] steps = {
      {"<", 0, "0011"}, {"|<", 0, "0011"}, {">", 1, "1111"}, {">", 2, "1100"},
      {">", 2, "1100"}, {">|", 2, "1100"}, {"<", 1, "1111"}, {"|<", 0, "0011"},
      {">|", 2, "1100"}, {"<", 1, "1111"},
    };
    String[] labels = {"|<", "<", ">", ">|"};
    for (Object[] step : steps) {
      click(navigation.getButton((String) step[0]));
      String label = "after " + step[0];
      assertEquals(label, step[1], applet.getCurrentPicture());
      StringBuilder enabled = new StringBuilder();
      for (String l : labels) enabled.append(navigation.getButton(l).isEnabled() ? '1' : '0');
      assertEquals(label, step[2], enabled.toString());
      assertTrue(label, applet.getIndexPanel().getButton((Integer) step[1]).isSelected());
    }
    assertEquals("", applet.getAlbumLeaf().getComment());  // garden.gif has no comment
  }

  @Test
  public void clickingAThumbnailShowsThatPicture() throws Exception {
    PhotoAlbum applet = open(threePictureSite());
    click(applet.getIndexPanel().getButton(2));
    assertEquals(2, applet.getCurrentPicture());
    assertEquals("The old tower", applet.getAlbumLeaf().getComment());
    assertFalse(applet.getIndexPanel().getButton(0).isSelected());
    assertEquals("Picture 3 of 3", applet.getBanner().getPosition());
  }

  @Test
  public void shrinkKeepsSmallPicturesAndFitsLargeOnesStretchFills() throws Exception {
    AlbumSite site = new AlbumSite(temp.newFolder());
    site.writePicture(0, "small.jpg", 120, 80, Color.BLUE);
    site.writePicture(0, "wide.jpg", 3000, 1000, Color.RED);
    site.writePicture(0, "tall.gif", 200, 2400, Color.GREEN);
    site.writeIndex(0, "windows-1252", new String[][] {{"small.jpg", ""}, {"wide.jpg", ""}, {"tall.gif", ""}});
    PhotoAlbum applet = open(site);
    LeafPicture picture = applet.getAlbumLeaf().getLeafPicture();
    int aw = picture.getWidth();
    int ah = picture.getHeight();
    assertTrue("view area " + aw + "x" + ah, aw > 300 && ah > 200 && aw < 3000 && ah < 1000);

    assertEquals(new Rectangle((aw - 120) / 2, (ah - 80) / 2, 120, 80), picture.getPictureBounds());
    applet.showNext();
    Rectangle wide = picture.getPictureBounds();
    assertEquals(aw, wide.width);
    assertEquals(Math.round(aw / 3.0), wide.height, 1);
    applet.showNext();
    Rectangle tall = picture.getPictureBounds();
    assertEquals(ah, tall.height);
    assertEquals(Math.round(ah / 12.0), tall.width, 1);

    onEdt(() -> { applet.getControlPanel().chooseStretch(true); return null; });
    Rectangle whole = new Rectangle(0, 0, aw, ah);
    for (int i = 0; i < 3; i++) {
      applet.showPicture(i);
      assertEquals("stretched picture " + i, whole, picture.getPictureBounds());
    }
    onEdt(() -> { applet.getControlPanel().chooseStretch(false); return null; });
    applet.showFirst();
    assertEquals(120, picture.getPictureBounds().width);
  }

  @Test
  public void zoomLevelsScaleTheViewArea() throws Exception {
    PhotoAlbum applet = open(threePictureSite());
    ShadowArea area = applet.getAlbumLeaf().getShadowArea();
    LeafPicture picture = applet.getAlbumLeaf().getLeafPicture();
    Rectangle max = area.getMaximumViewArea();
    Choice zoom = applet.getControlPanel().getZoomChoice();
    assertEquals("100%", zoom.getSelectedItem());
    assertEquals(max.getSize(), picture.getSize());
    for (int percent : new int[] {25, 50, 75, 100}) {
      onEdt(() -> {
        zoom.select(percent + "%");
        zoom.dispatchEvent(new ItemEvent(zoom, ItemEvent.ITEM_STATE_CHANGED, percent + "%", ItemEvent.SELECTED));
        return null;
      });
      String label = percent + "%";
      assertEquals(label, max.width * percent / 100, picture.getWidth());
      assertEquals(label, max.height * percent / 100, picture.getHeight());
      Point centre = new Point(picture.getX() + picture.getWidth() / 2, picture.getY() + picture.getHeight() / 2);
      assertEquals(label, max.x + max.width / 2, centre.x, 1);
      assertEquals(label, max.y + max.height / 2, centre.y, 1);
    }
  }

  @Test
  public void readsTheIndexAsUtf8WhenValidElseAsWindows1252() throws Exception {
    String[][] cases = {
      {"UTF-8", "Café am Fluß — Ωμέγα ☀ 東京"},
      {"windows-1252", "Café « Noël » 3 € – Ærø"},
    };
    for (String[] c : cases) {
      AlbumSite site = new AlbumSite(temp.newFolder());
      site.writePicture(0, "a.jpg", 60, 40, Color.GRAY);
      site.writeIndex(0, c[0], new String[][] {{"a.jpg", c[1]}});
      PhotoAlbum applet = open(site);
      assertEquals(c[0], c[1], applet.getAlbumLeaf().getComment());
      closeWindow();
    }
  }

  @Test
  public void indexEntriesKeepOrderEmptyCommentsAndTildes() {
    List<String> names = new ArrayList<String>();
    List<String> comments = new ArrayList<String>();
    boolean more = PhotoAlbum.parseIndex(
        "a.jpg\r\nSunset\r\n~\r\nb.gif\r\n\r\n~\r\nc.jpg\r\n~\r\n~\r\nd.jpg\r\nx ~ y\r\n~\r\n", names, comments, 100);
    assertFalse(more);
    assertEquals(java.util.Arrays.asList("a.jpg", "b.gif", "c.jpg", "d.jpg"), names);
    assertEquals(java.util.Arrays.asList("Sunset", "", "~", "x ~ y"), comments);
  }

  @Test
  public void aPictureThatCannotBeLoadedShowsItsNameAndComment() throws Exception {
    AlbumSite site = threePictureSite();
    site.writeIndex(0, "windows-1252", new String[][] {
      {"gone.jpg", "Lost on the way"}, {"harbour.jpg", "Boats"}, {"notapicture.jpg", "Broken file"},
    });
    java.nio.file.Files.write(new File(site.codeBase, "images/album-0/notapicture.jpg").toPath(),
        "not an image".getBytes("US-ASCII"));
    PhotoAlbum applet = open(site);
    LeafPicture picture = applet.getAlbumLeaf().getLeafPicture();
    assertTrue(picture.isMissing());
    assertEquals("gone.jpg", picture.getPictureName());
    assertNull(picture.getPictureBounds());
    assertEquals("Lost on the way", applet.getAlbumLeaf().getComment());
    applet.showNext();
    assertFalse(picture.isMissing());
    applet.showNext();
    assertTrue(picture.isMissing());
    assertEquals("notapicture.jpg", picture.getPictureName());
  }

  @Test
  public void aMissingOrEmptyIndexShowsAMessage() throws Exception {
    String[][] cases = {{"missing", rmInfo.NO_INDEX}, {"empty", rmInfo.EMPTY_ALBUM}, {"no parameter", rmInfo.NO_INDEX}};
    for (String[] c : cases) {
      AlbumSite site = new AlbumSite(temp.newFolder());
      AlbumPageStub stub = new AlbumPageStub(site, 0);
      if (c[0].equals("empty")) site.writeIndex(0, "windows-1252", new String[0][]);
      if (c[0].equals("no parameter")) stub.parameters.remove("index_file");
      PhotoAlbum applet = open(stub);
      assertEquals(c[0], c[1], applet.getAlbumLeaf().getLeafPicture().getMessage());
      assertEquals(c[0], 0, applet.getIndexPanel().getButtonCount());
      assertEquals(c[0], -1, applet.getCurrentPicture());
      assertFalse(c[0], applet.getNavigationPanel().getButton(">").isEnabled());
      click(applet.getNavigationPanel().getButton(">|"));
      assertEquals(c[0], -1, applet.getCurrentPicture());
      closeWindow();
    }
  }

  @Test
  public void coloursComeFromTheParametersOrFallBack() throws Exception {
    Object[][] cases = {
      {"00CCFF", "0000FF", new Color(0x00CCFF), new Color(0x0000FF)},
      {"#336699", "ffcc00", new Color(0x336699), new Color(0xFFCC00)},
      {"12345", "GGGGGG", PhotoAlbum.DEFAULT_FRAME_COLOR, PhotoAlbum.DEFAULT_TEXT_COLOR},
      {"", "0x00FF00", PhotoAlbum.DEFAULT_FRAME_COLOR, PhotoAlbum.DEFAULT_TEXT_COLOR},
    };
    AlbumSite site = threePictureSite();
    for (Object[] c : cases) {
      AlbumPageStub stub = new AlbumPageStub(site, 0);
      stub.parameters.put("frame_bg_color", (String) c[0]);
      stub.parameters.put("text_prompt_color", (String) c[1]);
      PhotoAlbum applet = open(stub);
      assertEquals(c[0] + "", c[2], applet.getBackground());
      assertEquals(c[1] + "", c[3], applet.getAlbumLeaf().getForeground());
      closeWindow();
    }
  }

  @Test
  public void picturesWithBlanksAndAccentsInTheirNamesLoad() throws Exception {
    AlbumSite site = new AlbumSite(temp.newFolder());
    site.writePicture(0, "Été #1 & more.jpg", 80, 60, Color.PINK);
    site.writeIndex(0, "UTF-8", new String[][] {{"Été #1 & more.jpg", "odd name"}});
    PhotoAlbum applet = open(site);
    assertFalse(applet.getAlbumLeaf().getLeafPicture().isMissing());
  }

  @Test
  public void screenshotOfAThreePictureAlbum() throws Exception {
    PhotoAlbum applet = open(threePictureSite());
    Robot robot = new Robot();
    robot.waitForIdle();
    Thread.sleep(1500);
    robot.waitForIdle();
    Rectangle bounds = onEdt(() -> new Rectangle(applet.getLocationOnScreen(), applet.getSize()));
    BufferedImage shot = robot.createScreenCapture(bounds);
    File out = new File(System.getProperty("quorvale.screenshot", "viewer_applet.png"));
    ImageIO.write(shot, "png", out);

    // The picture is drawn in the view area, and the frame keeps its colour around it.
    LeafPicture picture = applet.getAlbumLeaf().getLeafPicture();
    Point centre = onEdt(() -> {
      Point p = picture.getLocationOnScreen();
      Point a = applet.getLocationOnScreen();
      return new Point(p.x - a.x + picture.getWidth() / 2, p.y - a.y + picture.getHeight() / 2);
    });
    assertNotEquals(new Color(0x20, 0x20, 0x20).getRGB(), shot.getRGB(centre.x, centre.y));
    assertEquals(new Color(0x00CCFF).getRGB(), shot.getRGB(2, shot.getHeight() - 2));
  }
}
